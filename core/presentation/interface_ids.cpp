#include "core/presentation/interface_ids.h"

#include <cstdio>

namespace glimmerly {

std::string interface_id_text(const InterfaceId& id) {
    char text[40];
    std::snprintf(text, sizeof text, "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X", unsigned(id.data1),
                  unsigned(id.data2), unsigned(id.data3), id.data4[0], id.data4[1], id.data4[2], id.data4[3],
                  id.data4[4], id.data4[5], id.data4[6], id.data4[7]);
    return text;
}

}  // namespace glimmerly
