# Installing like any Debian desktop program: both programs, the examples,
# manual pages, the menu entry with its icon, the AppStream metadata, and a
# .deb built by CPack with its shared-library dependencies worked out.
include(GNUInstallDirs)

set(_packaging ${PROJECT_SOURCE_DIR}/packaging)
set(_app_id org.dendrocompare.dendrocompare)
set(_generated ${PROJECT_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${_generated})

install(TARGETS dendrocompare dendrocompare-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${CMAKE_INSTALL_DATADIR}/dendrocompare/examples)
install(FILES ${_packaging}/${_app_id}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_packaging}/${_app_id}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${_packaging}/icons/dendrocompare.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${_app_id}.svg)
foreach(_size 48 256)
  install(FILES ${_packaging}/icons/dendrocompare-${_size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps RENAME ${_app_id}.png)
endforeach()
install(FILES ${_packaging}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Manual pages, compressed as Debian wants them: the desktop program's is
# kept in the repository, the command line's is made from its --help and
# --version so that the two cannot drift apart.
find_program(DENDRO_HELP2MAN help2man)
find_program(DENDRO_GZIP gzip REQUIRED)
set(_man_pages ${_generated}/dendrocompare.1.gz)
add_custom_command(OUTPUT ${_generated}/dendrocompare.1.gz
  COMMAND ${DENDRO_GZIP} -9nc ${_packaging}/man/dendrocompare.1 > ${_generated}/dendrocompare.1.gz
  DEPENDS ${_packaging}/man/dendrocompare.1 VERBATIM)
if(DENDRO_HELP2MAN)
  add_custom_command(OUTPUT ${_generated}/dendrocompare-cli.1.gz
    COMMAND ${DENDRO_HELP2MAN} --no-info --section 1 --name "compare two hierarchical clusterings level by level"
            --output ${_generated}/dendrocompare-cli.1 $<TARGET_FILE:dendrocompare-cli>
    COMMAND ${DENDRO_GZIP} -9nf ${_generated}/dendrocompare-cli.1
    DEPENDS dendrocompare-cli VERBATIM)
  list(APPEND _man_pages ${_generated}/dendrocompare-cli.1.gz)
endif()
add_custom_command(OUTPUT ${_generated}/changelog.gz
  COMMAND ${DENDRO_GZIP} -9nc ${_packaging}/changelog > ${_generated}/changelog.gz
  DEPENDS ${_packaging}/changelog VERBATIM)
add_custom_target(man_pages ALL DEPENDS ${_man_pages} ${_generated}/changelog.gz)
install(FILES ${_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${_generated}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dendrocompare)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The dendrocompare developers <maintainers@dendrocompare.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "compare two hierarchical clusterings level by level")
set(CPACK_PACKAGE_DESCRIPTION
  "dendrocompare cuts two dendrograms of the same objects at every distinct merge\n height and compares every level of the first with every level of the second\n by five partition dissimilarities. It comes as a desktop program, a command\n line that reads scipy, R and Newick trees, and a Python module.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "python3, python3-numpy")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://dendrocompare.invalid/")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
include(CPack)
