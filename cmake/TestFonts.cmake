# The fonts the tests see: only those of the packages scripts/install-deps
# installs, whatever else the machine has. Tests measure and draw text, and a
# family installed by some other package (the URW fonts, say) changes which
# face a name like "Arial" or "sans-serif" resolves to. The test main points
# fontconfig at the configuration written here (TB_TEST_FONTS_CONF).
#
# The font files are linked into one folder of the build tree, and the rules
# are those fontconfig-config and the font packages enable by default, less the
# user's and the machine's local rules.

set(TB_TEST_FONT_PACKAGES fonts-liberation fonts-dejavu-core fonts-wqy-microhei)
set(TB_TEST_FONTS_DIR ${CMAKE_BINARY_DIR}/test-fonts)
set(TB_TEST_FONTS_CONF "")

find_program(TB_DPKG_QUERY dpkg-query)
if(NOT TB_DPKG_QUERY)
  message(STATUS "Test fonts: no dpkg-query; tests see the machine's fonts")
  return()
endif()

function(tb_package_files package out)
  execute_process(COMMAND ${TB_DPKG_QUERY} -L ${package}
                  OUTPUT_VARIABLE listing RESULT_VARIABLE failed ERROR_QUIET)
  if(failed)
    message(WARNING "Test fonts: package ${package} is not installed (scripts/install-deps installs it)")
    set(${out} "" PARENT_SCOPE)
    return()
  endif()
  string(REPLACE "\n" ";" lines "${listing}")
  set(${out} ${lines} PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${TB_TEST_FONTS_DIR}/fonts)
file(MAKE_DIRECTORY ${TB_TEST_FONTS_DIR}/fonts ${TB_TEST_FONTS_DIR}/cache)

set(rules "")
foreach(package fontconfig-config ${TB_TEST_FONT_PACKAGES})
  tb_package_files(${package} files)
  foreach(f ${files})
    if(f MATCHES "\\.(ttf|ttc|otf)$" AND NOT IS_DIRECTORY "${f}")
      get_filename_component(name "${f}" NAME)
      file(CREATE_LINK "${f}" ${TB_TEST_FONTS_DIR}/fonts/${name} SYMBOLIC)
    elseif(f MATCHES "^/etc/fonts/conf\\.d/[0-9].*\\.conf$" AND NOT f MATCHES "/5[01]-(user|local)\\.conf$"
           AND EXISTS "${f}")
      get_filename_component(real "${f}" REALPATH)
      get_filename_component(name "${f}" NAME)
      list(APPEND rules "${name}|${real}")
    endif()
  endforeach()
endforeach()
# Debian's own default for hinting, set at install time rather than shipped.
if(EXISTS /usr/share/fontconfig/conf.avail/10-hinting-slight.conf)
  list(APPEND rules "10-hinting-slight.conf|/usr/share/fontconfig/conf.avail/10-hinting-slight.conf")
endif()
list(SORT rules)
list(REMOVE_DUPLICATES rules)

set(includes "")
foreach(r ${rules})
  string(REGEX REPLACE "^[^|]*\\|" "" path "${r}")
  string(APPEND includes "  <include ignore_missing=\"yes\">${path}</include>\n")
endforeach()

set(TB_TEST_FONTS_CONF ${TB_TEST_FONTS_DIR}/fonts.conf)
file(WRITE ${TB_TEST_FONTS_CONF}
"<?xml version=\"1.0\"?>
<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">
<!-- Written by CMake (cmake/TestFonts.cmake): the fonts the tests see. -->
<fontconfig>
  <dir>${TB_TEST_FONTS_DIR}/fonts</dir>
  <cachedir>${TB_TEST_FONTS_DIR}/cache</cachedir>
${includes}</fontconfig>
")
