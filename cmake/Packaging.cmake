# The .deb for Debian and Ubuntu, from the Qt build: `cpack` in its build folder makes it. The
# Windows build ships Zeduzovir.exe as it is, and its installer (resources/CMakeLists.txt).
if(WIN32)
  return()
endif()
set(CPACK_PACKAGE_NAME zeduzovir)
set(CPACK_PACKAGE_VENDOR "The Zeduzovir developers")
set(CPACK_PACKAGE_VERSION ${ZEDUZOVIR_VERSION_TEXT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Restore the names of files marked with xaBrint")
set(CPACK_PACKAGE_DESCRIPTION "Zeduzovir shows the original name of a file whose name carries
the marker xaBrint. It never opens, changes, renames or deletes a file.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
# Folders in the package get the same modes whatever the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The README that ships refers to nothing that does not ship with it.
install(FILES ${PROJECT_SOURCE_DIR}/resources/README.txt DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${CPACK_PACKAGE_NAME}
        RENAME README)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${CPACK_PACKAGE_NAME}
        RENAME copyright)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ZEDUZOVIR_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation")

include(CPack)
