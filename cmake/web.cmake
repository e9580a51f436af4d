# The web build's two programs, from the same layers as the native ones:
# - node/dungeon2lua.js, the command-line program (src/app/main.cpp) for node, its files on the
#   real file system (NODERAWFS): the end-to-end cases run through it as through the native
#   program (a folder of its own: emcc writes a temporary dungeon2lua.wasm beside each output);
# - dungeon2lua.html, the converter in one page: the page's HTML, CSS and JavaScript
#   (src/web/page/) with the WebAssembly of the conversion inside (SINGLE_FILE), nothing fetched.
set(d2l_web_common_links -sALLOW_MEMORY_GROWTH=1 -sSINGLE_FILE=1)

set_target_properties(dungeon2lua PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/node)
target_link_options(dungeon2lua PRIVATE ${d2l_web_common_links}
  -sENVIRONMENT=node -sNODERAWFS=1
  # Flushes the standard streams and hands main()'s status to node as its exit status.
  -sEXIT_RUNTIME=1)

# The page's shell: shell.html with web.css and web.js put in; emcc then puts its own script in.
set(d2l_page_sources ${CMAKE_SOURCE_DIR}/src/web/page)
set(d2l_page_shell ${CMAKE_BINARY_DIR}/dungeon2lua_shell.html)
add_custom_command(OUTPUT ${d2l_page_shell}
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${d2l_page_sources} -DOUTPUT=${d2l_page_shell}
          -P ${CMAKE_SOURCE_DIR}/cmake/web_shell.cmake
  DEPENDS ${d2l_page_sources}/shell.html ${d2l_page_sources}/web.css ${d2l_page_sources}/web.js
          ${CMAKE_SOURCE_DIR}/cmake/web_shell.cmake
  COMMENT "Putting the page's style and script into its shell")
add_custom_target(d2l_page_shell DEPENDS ${d2l_page_shell})

add_executable(dungeon2lua_page ${CMAKE_SOURCE_DIR}/src/web/page_exports.cpp)
target_link_libraries(dungeon2lua_page PRIVATE d2l_web)
# Linked after the node program: the first link builds emscripten's system libraries into the
# cache, and a second link at the same time would only wait for it, warning of a locked cache.
add_dependencies(dungeon2lua_page d2l_page_shell dungeon2lua)
set_target_properties(dungeon2lua_page PROPERTIES OUTPUT_NAME dungeon2lua SUFFIX .html
                      LINK_DEPENDS ${d2l_page_shell})
target_link_options(dungeon2lua_page PRIVATE ${d2l_web_common_links}
  -sENVIRONMENT=web --shell-file ${d2l_page_shell}
  # The page's script calls these (the converter's own exports are kept by EMSCRIPTEN_KEEPALIVE).
  -sEXPORTED_FUNCTIONS=_malloc,_free
  # emcc would minify the page with a tool that Debian does not have.
  -sMINIFY_HTML=0)
