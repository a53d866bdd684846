// The one translation unit of the generator that compiles stb_image_write's
// implementation; every other file includes the header only.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
