#pragma once
// Builds the mipmap levels of the bound RGBA8 2-D texture on the CPU; false when the
// texture is of another kind (the caller then asks the driver).
#include <epoxy/gl.h>

bool generate_mipmaps_on_cpu();
