# The web build's libraries, as targets named like their Linux counterparts:
# - OpenGL::GL: gl4es, OpenGL 1.x on top of WebGL, built with Emscripten as a static library from
#   a pinned source archive (CHEER_GL4ES_ARCHIVE, checked by its SHA-256) or, without one, from
#   the same commit fetched from upstream; web/gl4es-*.patch are applied to it.
# - OpenGL::GLU: Mesa's GLU (its quadrics, projections and image scaling), from the source of
#   Debian's libglu package.
# - GLUT::GLUT: freeglut's headers and bitmap font data, from the source of Debian's freeglut
#   package; the windowing itself is the program's own web seam (web/).
# - glm::glm: GLM's headers from the build host (cmake/host_glm.cmake).
include(ExternalProject)
include(FetchContent)

include(cmake/host_glm.cmake)

# The same commit builds the same bytes in any folder: the paths that __FILE__ writes into the
# program (gl4es's messages name their files) are written from the checkout and the build folder
# on, not from the root.
set(cheer_path_maps -ffile-prefix-map=${PROJECT_SOURCE_DIR}/=
    -ffile-prefix-map=${CMAKE_BINARY_DIR}/=build-web/)
add_compile_options(${cheer_path_maps})

set(CHEER_GL4ES_COMMIT 17f0894e19d1553e4176276c759915dab44c08e2)
set(CHEER_GL4ES_SHA256 2baeb6b1483a9c0f36ed942b1ddcbd7bf5d7ac92d945a15f14745f124cd3a7e0)
set(CHEER_GL4ES_ARCHIVE "" CACHE FILEPATH
    "gl4es source archive at commit ${CHEER_GL4ES_COMMIT} (git archive, .tar.gz)")

file(GLOB gl4es_patches ${PROJECT_SOURCE_DIR}/web/gl4es-*.patch)
set(gl4es_patch_command ${PROJECT_SOURCE_DIR}/tools/apply_patches.sh ${gl4es_patches})
# Fetched and patched at configure time, so that a missing source stops the configuration; it is
# built below as a project of its own (SOURCE_SUBDIR names no CMakeLists.txt, so nothing of it is
# added to this one).
if(CHEER_GL4ES_ARCHIVE)
    FetchContent_Declare(gl4es URL ${CHEER_GL4ES_ARCHIVE} URL_HASH SHA256=${CHEER_GL4ES_SHA256}
        DOWNLOAD_EXTRACT_TIMESTAMP TRUE PATCH_COMMAND ${gl4es_patch_command}
        SOURCE_SUBDIR built-apart)
else()
    message(STATUS "gl4es: no archive given (CHEER_GL4ES_ARCHIVE); fetching its commit upstream")
    FetchContent_Declare(gl4es GIT_REPOSITORY https://github.com/ptitSeb/gl4es.git
        GIT_TAG ${CHEER_GL4ES_COMMIT} PATCH_COMMAND ${gl4es_patch_command}
        SOURCE_SUBDIR built-apart)
endif()
FetchContent_MakeAvailable(gl4es)

# gl4es puts its library into its own source tree, so its own build runs every time and finds
# out there whether anything is to do. Without the X11 and EGL layers the program creates the
# WebGL context itself and starts gl4es once it is current.
# Its compiler flags are the program's (-Oz for size), given in full, and each configure of it
# starts from an empty cache: a flag left out would otherwise keep whatever an earlier configure
# of the same build folder cached, or take CMake's Release default (-O3), and a long-lived build
# folder and a fresh one would build a different library (-O3 makes the page's wasm a sixth
# larger). CFLAGS from the environment are not read either.
set(CHEER_GL4ES_LIBRARY ${gl4es_SOURCE_DIR}/lib/libGL.a)
list(JOIN cheer_path_maps " " gl4es_c_flags)
ExternalProject_Add(gl4es_build
    SOURCE_DIR ${gl4es_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/gl4es-build
    CMAKE_ARGS
        --fresh
        -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
        -DCMAKE_BUILD_TYPE=Release
        "-DCMAKE_C_FLAGS=${gl4es_c_flags}"
        "-DCMAKE_C_FLAGS_RELEASE=${CMAKE_C_FLAGS_RELEASE}"
        -DNOX11=ON -DNOEGL=ON -DSTATICLIB=ON -DNO_INIT_CONSTRUCTOR=ON
    INSTALL_COMMAND ""
    BUILD_ALWAYS TRUE
    BUILD_BYPRODUCTS ${CHEER_GL4ES_LIBRARY})
add_library(OpenGL::GL STATIC IMPORTED)
set_target_properties(OpenGL::GL PROPERTIES
    IMPORTED_LOCATION ${CHEER_GL4ES_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${gl4es_SOURCE_DIR}/include)
add_dependencies(OpenGL::GL gl4es_build)

# The two Debian sources, fetched once into this build folder.
foreach(package IN ITEMS libglu freeglut)
    execute_process(COMMAND ${PROJECT_SOURCE_DIR}/tools/fetch_debian_source.sh ${package}
        ${CMAKE_BINARY_DIR} RESULT_VARIABLE fetched)
    if(NOT fetched EQUAL 0)
        message(FATAL_ERROR "The source of Debian's ${package} package could not be fetched")
    endif()
endforeach()

# Third-party C, built without our warning flags.
set(glu_dir ${CMAKE_BINARY_DIR}/libglu-src)
file(GLOB glu_sources ${glu_dir}/src/libutil/*.c)
add_library(cheer_web_glu STATIC ${glu_sources})
target_include_directories(cheer_web_glu PRIVATE ${glu_dir}/src/include
    PUBLIC ${glu_dir}/include)
target_link_libraries(cheer_web_glu PUBLIC OpenGL::GL)
add_library(OpenGL::GLU ALIAS cheer_web_glu)

# freeglut's font file wants freeglut's internal header for its font record: web/fg_internal.h
# stands in for it, and the file is built from a copy away from freeglut's own header.
set(freeglut_dir ${CMAKE_BINARY_DIR}/freeglut-src)
configure_file(${freeglut_dir}/src/fg_font_data.c ${CMAKE_BINARY_DIR}/font/fg_font_data.c COPYONLY)
add_library(cheer_web_font STATIC ${CMAKE_BINARY_DIR}/font/fg_font_data.c)
# freeglut's headers are the program's too: its extensions (the wheel, full screen) are answered
# by the web seam like the rest of GLUT.
target_include_directories(cheer_web_font PRIVATE ${PROJECT_SOURCE_DIR}/web
    PUBLIC ${freeglut_dir}/include)
target_link_libraries(cheer_web_font PUBLIC OpenGL::GL)
add_library(GLUT::GLUT ALIAS cheer_web_font)
