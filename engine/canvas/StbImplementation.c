/* The parts of stb the native canvas uses, for builds without Debian's
   libstb (the browser's): bitmap decoding and TrueType rendering. */
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#include <stb/stb_image.h>

#define STB_TRUETYPE_IMPLEMENTATION
#include <stb/stb_truetype.h>
