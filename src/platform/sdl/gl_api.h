// OpenGL headers with the entry points past 1.1 (buffers, framebuffers, blits) declared.
#pragma once
#ifndef GL_GLEXT_PROTOTYPES
#define GL_GLEXT_PROTOTYPES 1
#endif
#include <GL/gl.h>
#include <GL/glext.h>
