# Install rules and packages. On Linux `cmake --install` puts the program in bin/ and the README,
# the documents of docs/ and the sample dungeon in share/doc/dungeon2lua/; CPack makes a .tar.gz
# and a .deb. For Windows the package is a .zip that unpacks into one folder: dungeon2lua.exe,
# README.txt, docs/ and the sample dungeon in examples/, so an author can drop a dump onto the
# program right there.
# The converter's page, dungeon2lua.html, comes from a web build made beforehand (D2L_WEB_BUILD):
# in share/dungeon2lua/ on Linux, beside dungeon2lua.exe in the .zip.
include(GNUInstallDirs)

if(WIN32)
  set(D2L_INSTALL_BIN .)
  set(D2L_INSTALL_DOC .)
  set(D2L_INSTALL_EXAMPLE examples)
  # The README as a text file with Windows line ends, which every text editor there opens.
  configure_file(README.md ${CMAKE_BINARY_DIR}/README.txt @ONLY NEWLINE_STYLE CRLF)
  set(D2L_README ${CMAKE_BINARY_DIR}/README.txt)
else()
  set(D2L_INSTALL_BIN ${CMAKE_INSTALL_BINDIR})
  set(D2L_INSTALL_DOC ${CMAKE_INSTALL_DATAROOTDIR}/doc/${PROJECT_NAME})
  set(D2L_INSTALL_EXAMPLE ${D2L_INSTALL_DOC}/examples)
  set(D2L_README ${CMAKE_SOURCE_DIR}/README.md)
endif()

install(TARGETS dungeon2lua RUNTIME DESTINATION ${D2L_INSTALL_BIN})
if(D2L_WEB_BUILD)
  if(WIN32)
    set(D2L_INSTALL_WEB .)
  else()
    set(D2L_INSTALL_WEB ${CMAKE_INSTALL_DATAROOTDIR}/${PROJECT_NAME})
  endif()
  install(FILES ${D2L_WEB_BUILD}/dungeon2lua.html DESTINATION ${D2L_INSTALL_WEB})
endif()
install(FILES ${D2L_README} DESTINATION ${D2L_INSTALL_DOC})
# The author's guide and the internals, with their pictures, in docs/ beside the README, where the
# README's links find them.
install(FILES docs/guide.md docs/internals.md docs/map_page.png docs/web_page.png
        DESTINATION ${D2L_INSTALL_DOC}/docs)
install(FILES examples/my_dungeon.txt examples/obj_list.txt DESTINATION ${D2L_INSTALL_EXAMPLE})

set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VENDOR "dungeon2lua developers")
set(CPACK_PACKAGE_CONTACT "dungeon2lua developers <dungeon2lua@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "converts a dungeon dump into a Lua script that rebuilds the dungeon")
set(CPACK_PACKAGE_DESCRIPTION
    "dungeon2lua reads a plain-text dungeon dump and an object name list and writes one Lua 5.1 script that rebuilds the whole dungeon in the target engine.")
set(CPACK_RESOURCE_FILE_README ${CMAKE_SOURCE_DIR}/README.md)
set(CPACK_PACKAGE_CHECKSUM SHA256)
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git" "/build[^/]*/")
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME win64)
else()
  set(CPACK_GENERATOR TGZ DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION games)
  # The package's library needs come from dpkg-shlibdeps when it is there (package dpkg-dev);
  # otherwise they are named here: the C and C++ runtimes the program links against.
  find_program(D2L_DPKG_SHLIBDEPS dpkg-shlibdeps)
  if(D2L_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libgcc-s1, libstdc++6")
  endif()
endif()
include(CPack)
