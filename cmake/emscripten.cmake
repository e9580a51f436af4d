# emcc's environment in the web build (configured with emcmake). Every compile and link runs
# through `cmake -E env`, so that `cmake --build` needs nothing set by hand:
# - EM_CACHE: emscripten's cache of system libraries and headers, in this build folder
#   (D2L_EM_CACHE), built on the first build and kept for the builds after it. Debian's emscripten
#   ships a read-only ("frozen") cache of its own; D2L_EM_CACHE set empty uses that one instead.
# - NODE_PATH: where emcc's JavaScript steps find the modules they load (acorn), which Debian
#   installs into /usr/share/nodejs, outside node's own search path.
if(CMAKE_VERSION VERSION_LESS 3.21)
  message(FATAL_ERROR "the web build needs CMake 3.21 or later (linker launchers)")
endif()

set(D2L_EM_CACHE ${CMAKE_BINARY_DIR}/emcache CACHE PATH
    "emscripten's cache of system libraries; empty for emscripten's own (Debian's prebuilt one)")
find_path(D2L_NODE_MODULES acorn/package.json PATHS /usr/share/nodejs /usr/lib/nodejs NO_CMAKE_FIND_ROOT_PATH
          DOC "the folder of the JavaScript modules that emcc loads (acorn)")

set(d2l_emcc_environment)
if(D2L_NODE_MODULES)
  list(APPEND d2l_emcc_environment "NODE_PATH=${D2L_NODE_MODULES}")
endif()
if(D2L_EM_CACHE)
  # The cache is built here, so emscripten's configured read-only cache is switched off.
  list(APPEND d2l_emcc_environment "EM_CACHE=${D2L_EM_CACHE}" "EM_FROZEN_CACHE=")
endif()
if(d2l_emcc_environment)
  set(CMAKE_CXX_COMPILER_LAUNCHER ${CMAKE_COMMAND} -E env ${d2l_emcc_environment})
  set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env ${d2l_emcc_environment})
endif()
