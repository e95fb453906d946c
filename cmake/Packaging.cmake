# What a Windows user downloads, made by CPack from the install rules below
# (scripts/package.sh drives it): a portable zip and a per-user NSIS installer, both
# named after the project's version and publisher.
install(TARGETS Papershift7 RUNTIME DESTINATION .)
configure_file(${CMAKE_CURRENT_LIST_DIR}/packaging/ReadMe.txt.in ${CMAKE_BINARY_DIR}/ReadMe.txt
  @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/ReadMe.txt DESTINATION .)

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME Papershift7)
set(CPACK_PACKAGE_VENDOR "${PS_PUBLISHER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Papershift 7 wallpaper changer")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Papershift 7")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_SOURCE_DIR}/build/package)
# Per generator: the file names of the two packages.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/packaging/PerGenerator.cmake)
# Our own NSIS.template.in (found on this path) instead of CPack's, which installs for
# all users with administrator rights.
set(CPACK_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/packaging)
set(CPACK_NSIS_DISPLAY_NAME "Papershift 7")
set(CPACK_NSIS_PACKAGE_NAME "Papershift 7")
set(CPACK_NSIS_PS_ICON ${CMAKE_SOURCE_DIR}/resources/Papershift7.ico)
include(CPack)
