#pragma once
// Numeric ids of the program's own resources, shared by the resource scripts
// and the code that loads them.

// RCDATA: the annotation font, a TrueType file.
#define GLIMMERLY_ANNOTATION_FONT 201
