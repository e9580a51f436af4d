# Writes the shell of dungeon2lua.html: SOURCE/shell.html with SOURCE/web.css in place of
# @WEB_CSS@ and SOURCE/web.js in place of @WEB_JS@, into OUTPUT. emcc then replaces
# {{{ SCRIPT }}} with its own script, the WebAssembly inside.
# Usage: cmake -DSOURCE=FOLDER -DOUTPUT=FILE -P web_shell.cmake
file(READ ${SOURCE}/shell.html shell)
file(READ ${SOURCE}/web.css style)
file(READ ${SOURCE}/web.js script)
foreach(part style script)
  # Neither may end the element it is put into.
  string(TOLOWER "${${part}}" lower)
  if(lower MATCHES "</(style|script)")
    message(FATAL_ERROR "the page's ${part} holds </${CMAKE_MATCH_1}, which would end its element")
  endif()
endforeach()
string(REPLACE "@WEB_CSS@" "${style}" shell "${shell}")
string(REPLACE "@WEB_JS@" "${script}" shell "${shell}")
file(WRITE ${OUTPUT} "${shell}")
