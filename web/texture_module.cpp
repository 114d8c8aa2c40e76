// The page's texture maker: the four textures drawn by the project's generator into this small
// module's own file system, from which the page hands them to the program's. It loads and draws
// while the program itself is still being fetched and compiled.
#include "tools/texture_generator.h"

int main() {
    return writeTextures(".", false);
}
