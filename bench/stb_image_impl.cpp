// stb_image built here with our own optimisation flags: faster than the packaged library build,
// so the decoders race against the peer's best.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#include <stb_image.h>
