# The text-fit suite twice: with the system's fonts, and with DejaVu Sans as the only font (a fontconfig of
# its own in the build folder), as on a desktop without Liberation fonts.
panel_add_test(tst_text_fit ${CMAKE_CURRENT_LIST_DIR}/tst_text_fit.cpp)
set(panel_dejavu_dir /usr/share/fonts/truetype/dejavu)
set(panel_dejavu_only ${CMAKE_CURRENT_BINARY_DIR}/dejavu-only)
file(MAKE_DIRECTORY ${panel_dejavu_only}/fonts ${panel_dejavu_only}/cache)
foreach(face DejaVuSans.ttf DejaVuSans-Bold.ttf)
  file(CREATE_LINK ${panel_dejavu_dir}/${face} ${panel_dejavu_only}/fonts/${face} SYMBOLIC)
endforeach()
file(WRITE ${panel_dejavu_only}/fonts.conf [=[<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
]=] "  <dir>${panel_dejavu_only}/fonts</dir>\n  <cachedir>${panel_dejavu_only}/cache</cachedir>\n</fontconfig>\n")
add_test(NAME tst_text_fit_dejavu COMMAND tst_text_fit)
set_tests_properties(tst_text_fit_dejavu PROPERTIES TIMEOUT 120 ENVIRONMENT
  "${PANEL_TEST_ENV};FONTCONFIG_FILE=${panel_dejavu_only}/fonts.conf;PANEL_FONT_FAMILY=DejaVu Sans")
