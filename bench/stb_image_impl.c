/* The stb_image implementation, compiled on its own so that third-party code keeps its own
   warning settings. Used by the bitmap benchmark only. */
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#include <stb_image.h>
