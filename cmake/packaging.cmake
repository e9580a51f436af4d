# Install rules and packages. On Linux `cmake --install` puts the program in bin/, its manual page
# in share/man/man1/, and the README, the documents of docs/, the licence (as Debian's copyright
# file), the changelog and the sample dungeon in share/doc/dungeon2lua/; CPack makes a .tar.gz and
# a .deb of that. For Windows the package is a .zip that unpacks into one folder: dungeon2lua.exe,
# README.txt, LICENSE.txt, docs/ and the sample dungeon in examples/, so an author can drop a dump
# onto the program right there.
# The converter's page, dungeon2lua.html, comes from a web build made beforehand (D2L_WEB_BUILD):
# in share/dungeon2lua/ on Linux, beside dungeon2lua.exe in the .zip.
include(GNUInstallDirs)

# The package's maintainer. The project has no mail host of its own, so the address is a
# placeholder under example.org, a domain reserved for examples.
set(D2L_MAINTAINER "the dungeon2lua developers <dungeon2lua@example.org>")

if(WIN32)
  set(D2L_INSTALL_BIN .)
  set(D2L_INSTALL_DOC .)
  set(D2L_INSTALL_EXAMPLE examples)
  # The README and the licence as text files with Windows line ends, which every text editor there
  # opens. The documents of docs/ keep their names, which the README's links use; their links to
  # the README lead to README.txt.
  configure_file(README.md ${CMAKE_BINARY_DIR}/README.txt @ONLY NEWLINE_STYLE CRLF)
  configure_file(LICENSE ${CMAKE_BINARY_DIR}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
  foreach(document guide internals)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/${document}.md)
    file(READ docs/${document}.md text)
    string(REPLACE "](../README.md" "](../README.txt" text "${text}")
    file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/docs/${document}.md CONTENT "${text}" @ONLY NEWLINE_STYLE CRLF)
  endforeach()
  set(D2L_README ${CMAKE_BINARY_DIR}/README.txt)
  set(D2L_DOCUMENTS ${CMAKE_BINARY_DIR}/docs/guide.md ${CMAKE_BINARY_DIR}/docs/internals.md)
  install(FILES ${CMAKE_BINARY_DIR}/LICENSE.txt DESTINATION .)
else()
  set(D2L_INSTALL_BIN ${CMAKE_INSTALL_BINDIR})
  set(D2L_INSTALL_DOC ${CMAKE_INSTALL_DATAROOTDIR}/doc/${PROJECT_NAME})
  set(D2L_INSTALL_EXAMPLE ${D2L_INSTALL_DOC}/examples)
  set(D2L_README ${CMAKE_SOURCE_DIR}/README.md)
  set(D2L_DOCUMENTS ${CMAKE_SOURCE_DIR}/docs/guide.md ${CMAKE_SOURCE_DIR}/docs/internals.md)

  # The licence as Debian's copyright file, the changelog in Debian's format and the manual page,
  # made at configure time (so that `cmake --install` needs no build of its own) and made again
  # when their sources change.
  include(cmake/debian_files.cmake)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
               ${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_SOURCE_DIR}/CHANGELOG.md ${CMAKE_SOURCE_DIR}/docs/dungeon2lua.1)
  set(debian ${CMAKE_BINARY_DIR}/debian)
  d2l_debian_copyright(${CMAKE_SOURCE_DIR}/LICENSE ${PROJECT_NAME} copyright)
  file(CONFIGURE OUTPUT ${debian}/copyright CONTENT "${copyright}")
  d2l_debian_changelog(${CMAKE_SOURCE_DIR}/CHANGELOG.md ${PROJECT_NAME} ${PROJECT_VERSION} "${D2L_MAINTAINER}" changelog)
  file(CONFIGURE OUTPUT ${debian}/changelog CONTENT "${changelog}")
  d2l_gzip(${debian}/changelog)
  configure_file(docs/dungeon2lua.1 ${debian}/dungeon2lua.1 @ONLY)
  d2l_gzip(${debian}/dungeon2lua.1)
  install(FILES ${debian}/copyright ${debian}/changelog.gz DESTINATION ${D2L_INSTALL_DOC})
  install(FILES ${debian}/dungeon2lua.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
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
install(FILES ${D2L_DOCUMENTS} docs/map_page.png docs/web_page.png DESTINATION ${D2L_INSTALL_DOC}/docs)
install(FILES examples/my_dungeon.txt examples/obj_list.txt DESTINATION ${D2L_INSTALL_EXAMPLE})

set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VENDOR "dungeon2lua developers")
set(CPACK_PACKAGE_CONTACT "${D2L_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "converts a dungeon dump into a Lua script that rebuilds the dungeon")
# Short lines: Debian's package checker wants the description's lines within 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "dungeon2lua reads a plain-text dungeon dump, exported from one engine's\n"
    "editor, and an object name list, and writes one Lua 5.1 script that\n"
    "rebuilds the whole dungeon in the target engine: levels, objects with\n"
    "their behaviour, champions and party. It can also write an HTML map page\n"
    "of the converted dungeon.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
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
  # utils: the package is a converter for game authors, a tool rather than a game (Debian's
  # section games is for games themselves).
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
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
