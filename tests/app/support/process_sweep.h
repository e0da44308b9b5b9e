#pragma once
// Every process a test starts ends with the test. The test executable puts
// itself in a job that kills what is left in it when the executable ends,
// however it ends; and after each test, whatever the test left running is
// named, ended and counted as the test's failure; Wine's own processes (its
// desktop process above all) are left alone. A process left behind
// (a console host, say) keeps ctest's output pipe open, and ctest then waits
// for it until the shard's time-out.

namespace glimmerly::testing_support {

// Makes sure the desktop process runs, puts this process in the
// kill-on-close job and adds the check after every test. Called once by the
// test executable's main, before the tests run.
void sweep_processes_after_each_test();

}  // namespace glimmerly::testing_support
