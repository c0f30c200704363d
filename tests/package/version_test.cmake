# The version and date the program, man page and metainfo are built with (CMake) are those of the
# package's change log.
add_test(NAME version_agrees
         COMMAND ${CMAKE_COMMAND} -DVERSION=${PROJECT_VERSION} -DDATE=${PANELCONFIG_RELEASE_DATE}
                 -DCHANGELOG=${PROJECT_SOURCE_DIR}/debian/changelog -P ${CMAKE_CURRENT_LIST_DIR}/version_agrees.cmake)
