/* The image decoder of the native sprite-sheet loader, compiled into the
   fuzz target so that the fuzzer sees and checks its code as well. */
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
