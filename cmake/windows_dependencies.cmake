# The Windows build's libraries, as targets named like their Linux counterparts:
# - OpenGL::GL and OpenGL::GLU: Windows' own opengl32 and glu32, through MinGW-w64's import
#   libraries; no GLX, no X11.
# - GLUT::GLUT: freeglut (with its GL/glut.h), built from the source of Debian's freeglut package as a static library
#   (FREEGLUT_STATIC), so the program needs no freeglut DLL beside it.
# - glm::glm: GLM's headers from the build host (cmake/host_glm.cmake).
include(ExternalProject)

find_package(OpenGL REQUIRED COMPONENTS OpenGL)

include(cmake/host_glm.cmake)

# The source comes through tools/fetch_debian_source.sh (apt-get source with a private apt
# configuration in this build folder); it is fetched once and kept.
set(CHEER_FREEGLUT_PREFIX ${CMAKE_BINARY_DIR}/freeglut)
set(CHEER_FREEGLUT_LIBRARY ${CHEER_FREEGLUT_PREFIX}/lib/libglut.a)
ExternalProject_Add(freeglut_static_build
    PREFIX ${CMAKE_BINARY_DIR}/freeglut-build
    SOURCE_DIR ${CMAKE_BINARY_DIR}/freeglut-src
    DOWNLOAD_COMMAND ${PROJECT_SOURCE_DIR}/tools/fetch_debian_source.sh freeglut ${CMAKE_BINARY_DIR}
    CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
        -DCMAKE_BUILD_TYPE=Release
        -DCMAKE_INSTALL_PREFIX=${CHEER_FREEGLUT_PREFIX}
        -DCMAKE_INSTALL_LIBDIR=lib
        -DFREEGLUT_BUILD_SHARED_LIBS=OFF
        -DFREEGLUT_BUILD_STATIC_LIBS=ON
        -DFREEGLUT_BUILD_DEMOS=OFF
        -DFREEGLUT_REPLACE_GLUT=ON
    BUILD_BYPRODUCTS ${CHEER_FREEGLUT_LIBRARY})

file(MAKE_DIRECTORY ${CHEER_FREEGLUT_PREFIX}/include)
add_library(GLUT::GLUT STATIC IMPORTED)
set_target_properties(GLUT::GLUT PROPERTIES
    IMPORTED_LOCATION ${CHEER_FREEGLUT_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${CHEER_FREEGLUT_PREFIX}/include
    INTERFACE_COMPILE_DEFINITIONS FREEGLUT_STATIC
    INTERFACE_LINK_LIBRARIES "OpenGL::GL;winmm;gdi32")
add_dependencies(GLUT::GLUT freeglut_static_build)
