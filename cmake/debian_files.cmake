# The files the .deb (and the .tar.gz, made from the same install) carry in share/doc and
# share/man, made at configure time so that `cmake --install` works after any build: the copyright
# file in Debian's machine-readable format, from LICENSE; a changelog in Debian's format, from
# CHANGELOG.md; the manual page with the version filled in. The changelog and the manual page are
# compressed with gzip -9n (no name, no time stamp), as Debian's packages carry them.

# The day of the week of a date ("Tue"), which a Debian changelog's trailer line names.
function(d2l_weekday year month day out)
  set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
  math(EXPR index "${month} - 1")
  list(GET offsets ${index} offset)
  if(month LESS 3)
    math(EXPR year "${year} - 1")
  endif()
  math(EXPR weekday "(${year} + ${year} / 4 - ${year} / 100 + ${year} / 400 + ${offset} + ${day}) % 7")
  set(names Sun Mon Tue Wed Thu Fri Sat)
  list(GET names ${weekday} name)
  set(${out} ${name} PARENT_SCOPE)
endfunction()

# The month's short English name ("Dec") for a month number.
function(d2l_month_name month out)
  set(names Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  math(EXPR index "${month} - 1")
  list(GET names ${index} name)
  set(${out} ${name} PARENT_SCOPE)
endfunction()

# The Debian changelog of PACKAGE, made from the Markdown changelog CHANGELOG, into OUT: each
# "## VERSION (YYYY-MM-DD)" heading begins an entry, each "- " line an item, an indented line
# continues it, any other line of text is an item of its own; backticks are dropped. Fails when the
# newest entry is not VERSION, so that a release cannot leave its changelog behind.
function(d2l_debian_changelog changelog package version maintainer out)
  # The lines as a CMake list: semicolons and brackets, which a list would read as its own, are
  # stood in for by markers until the text is made.
  file(READ ${changelog} content)
  string(REPLACE ";" "<d2l-semicolon>" content "${content}")
  string(REPLACE "[" "<d2l-open>" content "${content}")
  string(REPLACE "]" "<d2l-close>" content "${content}")
  string(REPLACE "\n" ";" lines "${content}")
  set(text "")
  set(trailer "")
  set(newest "")
  foreach(line IN LISTS lines)
    string(REPLACE "`" "" line "${line}")
    if(line MATCHES "^## ([^ ]+) \\(([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])\\)$")
      set(entry_version ${CMAKE_MATCH_1})
      set(year ${CMAKE_MATCH_2})
      set(day ${CMAKE_MATCH_4})
      math(EXPR month "${CMAKE_MATCH_3}")
      if(newest STREQUAL "")
        set(newest ${entry_version})
      else()
        string(APPEND text "${trailer}\n")
      endif()
      d2l_weekday(${year} ${month} ${day} weekday)
      d2l_month_name(${month} month_name)
      string(APPEND text "${package} (${entry_version}) unstable; urgency=medium\n\n")
      set(trailer "\n -- ${maintainer}  ${weekday}, ${day} ${month_name} ${year} 00:00:00 +0000\n")
    elseif(newest STREQUAL "" OR line STREQUAL "")
      continue()
    elseif(line MATCHES "^- (.*)$")
      string(APPEND text "  * ${CMAKE_MATCH_1}\n")
    elseif(line MATCHES "^  +(.*)$")
      string(APPEND text "    ${CMAKE_MATCH_1}\n")
    else()
      string(APPEND text "  * ${line}\n")
    endif()
  endforeach()
  if(NOT newest STREQUAL version)
    message(FATAL_ERROR "${changelog}: the newest entry is \"${newest}\", not this version, ${version}")
  endif()
  string(APPEND text "${trailer}")
  string(REPLACE "<d2l-semicolon>" ";" text "${text}")
  string(REPLACE "<d2l-open>" "[" text "${text}")
  string(REPLACE "<d2l-close>" "]" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Compresses FILE into FILE.gz as Debian's packages carry it: gzip -9n, no name and no time stamp.
function(d2l_gzip file)
  find_program(D2L_GZIP gzip REQUIRED)
  execute_process(COMMAND ${D2L_GZIP} -9n -c ${file} OUTPUT_FILE ${file}.gz RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "gzip -9n ${file} failed")
  endif()
endfunction()

# Debian's machine-readable copyright file of PACKAGE, made from the MIT licence text in LICENSE,
# into OUT: its copyright line gives the holders, the rest is the licence's text (Debian names the
# MIT licence "Expat").
function(d2l_debian_copyright license package out)
  file(STRINGS ${license} lines)
  set(holders "")
  set(body "")
  set(started OFF)
  foreach(line IN LISTS lines)
    if(line MATCHES "^Copyright \\(c\\) (.*)$")
      set(holders ${CMAKE_MATCH_1})
      set(started ON)
    elseif(started AND line STREQUAL "")
      string(APPEND body " .\n")
    elseif(started)
      string(APPEND body " ${line}\n")
    endif()
  endforeach()
  if(holders STREQUAL "")
    message(FATAL_ERROR "${license} has no line \"Copyright (c) YEAR HOLDERS\"")
  endif()
  string(REGEX REPLACE "^ \\.\n" "" body "${body}")
  set(${out} "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: ${package}

Files: *
Copyright: ${holders}
License: Expat
${body}" PARENT_SCOPE)
endfunction()
