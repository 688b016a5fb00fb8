# The Debian package (cpack -G DEB, or bash scripts/package): the install
# rules of the main CMakeLists.txt, plus the AppStream metadata and the
# documentation files every Debian package carries.

set(ZENTRAK_RELEASE_DATE "2026-12-09")
set(ZENTRAK_MAINTAINER "Zentrak maintainers <maintainers@users.noreply.c-seed-c77c377c.example>")
# The project has no web site yet: the home page (and with it the screenshot
# address) and the AppStream id below name a placeholder until it has one.
set(ZENTRAK_HOMEPAGE "https://zentrak.example.org")
set(ZENTRAK_APPSTREAM_ID "org.example.zentrak")

set(pkg_dir ${CMAKE_CURRENT_BINARY_DIR}/package)
configure_file(resources/zentrak.metainfo.xml.in ${pkg_dir}/${ZENTRAK_APPSTREAM_ID}.metainfo.xml
  @ONLY)
install(FILES ${pkg_dir}/${ZENTRAK_APPSTREAM_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Debian's changelog: the release date in the mail form, compressed without
# a time stamp so that the same sources give the same package.
execute_process(COMMAND date -u -R -d "${ZENTRAK_RELEASE_DATE} 12:00"
  OUTPUT_VARIABLE ZENTRAK_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
  COMMAND_ERROR_IS_FATAL ANY)
configure_file(resources/package/changelog.in ${pkg_dir}/changelog @ONLY)
execute_process(COMMAND gzip -9 -n -c ${pkg_dir}/changelog OUTPUT_FILE ${pkg_dir}/changelog.gz
  COMMAND_ERROR_IS_FATAL ANY)
install(FILES resources/package/copyright ${pkg_dir}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zentrak)

foreach(page zentrak.1 zentrak-tool.1)
  execute_process(COMMAND gzip -9 -n -c ${CMAKE_CURRENT_SOURCE_DIR}/resources/man/${page}
    OUTPUT_FILE ${pkg_dir}/${page}.gz COMMAND_ERROR_IS_FATAL ANY)
  install(FILES ${pkg_dir}/${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  resources/man/zentrak.1 resources/man/zentrak-tool.1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zentrak)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${ZENTRAK_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "measures water-ski jump distances from video")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ZENTRAK_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${ZENTRAK_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Officials calibrate each camera from four surveyed buoys, record
a clip of every jump, step to the frame where the skier first touches the
water, click the landing point, and record the distance into the day's
results and into the files the tournament scoring program reads.

zentrak-tool does the same measurements on the command line, for scripts
and support staff.")
include(CPack)
