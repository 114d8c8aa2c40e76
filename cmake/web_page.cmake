# The web page: the program as cheerleaders.js and cheerleaders.wasm, and the page that holds its
# canvas (web/cheerleaders.html) with its timeline's script, in the build folder. The page puts
# the four textures into the program's file system as it starts, drawn by the same generator as
# make_textures.
set_target_properties(cheerleaders PROPERTIES SUFFIX ".js")
# Emscripten's linker runs its JavaScript tools (acorn among them) on Node.js; Debian's Node.js
# finds Debian's JavaScript modules by itself, another Node.js first on the PATH may not. Both
# modules link so.
set(node_modules_launcher "${CMAKE_COMMAND};-E;env;NODE_PATH=/usr/share/nodejs")
set_target_properties(cheerleaders PROPERTIES CXX_LINKER_LAUNCHER "${node_modules_launcher}")
# Built for size, as the web preset compiles: every visitor downloads it.
target_link_options(cheerleaders PRIVATE
    -Oz
    -sFULL_ES2=1 -sMAX_WEBGL_VERSION=1
    # The page hands the textures to the program through the file system's own calls.
    -sFORCE_FILESYSTEM=1
    -sALLOW_MEMORY_GROWTH=1
    # On the page's main thread, or in a worker of its own (web/program_worker.js).
    -sENVIRONMENT=web,worker
    # The page's script hands the program texts and takes texts back.
    -sEXPORTED_RUNTIME_METHODS=ccall
    # Draws from client-side arrays that copy each vertex once (the file says why).
    "SHELL:--js-library ${PROJECT_SOURCE_DIR}/web/client_arrays.js"
    # The canvas, or the worker's OffscreenCanvas, that the page gives it.
    "SHELL:--js-library ${PROJECT_SOURCE_DIR}/web/canvas_target.js")
set_property(TARGET cheerleaders APPEND PROPERTY LINK_DEPENDS
    ${PROJECT_SOURCE_DIR}/web/client_arrays.js ${PROJECT_SOURCE_DIR}/web/canvas_target.js)

# The textures' own small module (cheerleaders_textures.js and .wasm), which the page runs in
# workers, on other cores, while the program itself is fetched and compiled. The generator is built
# for speed: the first picture waits for its pictures. It needs no file system.
add_executable(cheerleaders_textures ${PROJECT_SOURCE_DIR}/web/texture_module.cpp
    ${PROJECT_SOURCE_DIR}/render/texture_generator.cpp)
target_include_directories(cheerleaders_textures PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_options(cheerleaders_textures PRIVATE -O3)
set_target_properties(cheerleaders_textures PROPERTIES SUFFIX ".js"
    CXX_LINKER_LAUNCHER "${node_modules_launcher}")
target_link_options(cheerleaders_textures PRIVATE -Oz -sMODULARIZE=1 -sEXPORT_NAME=makeTextures
    -sFILESYSTEM=0 -sEXPORTED_RUNTIME_METHODS=UTF8ToString -sALLOW_MEMORY_GROWTH=1
    -sENVIRONMENT=worker
    "SHELL:--extern-post-js ${PROJECT_SOURCE_DIR}/web/texture_worker.js")
set_property(TARGET cheerleaders_textures APPEND PROPERTY LINK_DEPENDS
    ${PROJECT_SOURCE_DIR}/web/texture_worker.js)
cheer_warnings(cheerleaders_textures)

# The glTF exporter's own module (cheerleaders_export.js and .wasm): the desktop's scene export and
# the core it needs, which the page runs in a worker only when the file is asked for, so that
# neither the program nor its first picture waits for it. Built for size: it is fetched at the
# click. It needs no file system: the show comes in as text and the file goes out as bytes.
add_executable(cheerleaders_export ${PROJECT_SOURCE_DIR}/web/export_module.cpp)
target_link_libraries(cheerleaders_export PRIVATE cheer_core)
set_target_properties(cheerleaders_export PROPERTIES SUFFIX ".js"
    CXX_LINKER_LAUNCHER "${node_modules_launcher}")
target_link_options(cheerleaders_export PRIVATE -Oz -sMODULARIZE=1 -sEXPORT_NAME=makeExport
    -sFILESYSTEM=0 -sEXPORTED_RUNTIME_METHODS=UTF8ToString -sALLOW_MEMORY_GROWTH=1
    -sENVIRONMENT=worker
    "SHELL:--extern-post-js ${PROJECT_SOURCE_DIR}/web/export_worker.js")
set_property(TARGET cheerleaders_export APPEND PROPERTY LINK_DEPENDS
    ${PROJECT_SOURCE_DIR}/web/export_worker.js)
cheer_warnings(cheerleaders_export)

# The page's icon is the menu icon the desktop build renders (tools/make_icons.sh, 48 pixels),
# kept in the tree as web/cheerleaders.png: rendered here it would take an X server and depend on
# the build host's GL, and the page's files would differ from machine to machine. `make web-icon`
# renders it again after a change of the drawing.
set(page_dir ${CMAKE_BINARY_DIR})
# The page's key table is the program's own, written into the page as it is built by the same
# tool that writes the manual page's, here built for Node.js and run there (the toolchain's
# emulator): so the page lists the keys even where the program cannot start.
add_executable(write_key_rows ${PROJECT_SOURCE_DIR}/tools/write_key_rows.cpp
    ${PROJECT_SOURCE_DIR}/controls/key_table.cpp)
target_include_directories(write_key_rows PRIVATE ${PROJECT_SOURCE_DIR})
# A build tool, kept out of the folder a visitor's files are published from.
set_target_properties(write_key_rows PROPERTIES SUFFIX ".js"
    CXX_LINKER_LAUNCHER "${node_modules_launcher}" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
# One file: Node.js fetches no .wasm beside it (its own fetch takes no plain path).
target_link_options(write_key_rows PRIVATE -sENVIRONMENT=node -sNODERAWFS=1 -sSINGLE_FILE=1)
cheer_warnings(write_key_rows)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/cheerleaders.html
    COMMAND write_key_rows ${PROJECT_SOURCE_DIR}/web/cheerleaders.html
        ${CMAKE_BINARY_DIR}/cheerleaders.html
    DEPENDS write_key_rows ${PROJECT_SOURCE_DIR}/web/cheerleaders.html VERBATIM)

# The scripts of the page: its start, the program's way in (its calls, shared with the program's
# worker, and its input), its timeline, its inspector, its pose panel, its Show panel and its
# glTF download; and its icon.
set(page_files cheerleaders_page.js cheerleaders_calls.js cheerleaders_program.js
    cheerleaders_input.js cheerleaders_timeline.js cheerleaders_inspector.js cheerleaders_pose.js
    cheerleaders_show.js cheerleaders_download.js cheerleaders.png)
set(page_outputs ${page_files})
list(TRANSFORM page_outputs PREPEND ${page_dir}/)
set(page_sources ${page_files})
list(TRANSFORM page_sources PREPEND ${PROJECT_SOURCE_DIR}/web/)
add_custom_command(OUTPUT ${page_outputs}
    COMMAND ${CMAKE_COMMAND} -E copy ${page_sources} ${page_dir}/
    DEPENDS ${page_sources} VERBATIM)
# The program's worker, where the page runs the program when the browser lets a worker draw.
add_custom_command(OUTPUT ${page_dir}/cheerleaders_worker.js
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/web/program_worker.js
        ${page_dir}/cheerleaders_worker.js
    DEPENDS ${PROJECT_SOURCE_DIR}/web/program_worker.js VERBATIM)
add_custom_target(web_page ALL DEPENDS ${page_outputs} ${page_dir}/cheerleaders_worker.js
    ${CMAKE_BINARY_DIR}/cheerleaders.html)
