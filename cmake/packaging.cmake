# The release package of the Windows build: vxedit-VERSION-win64.zip with both executables, the
# README and the licence, made by CPack (tools/package).
install(TARGETS vxedit vxprog RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/docs/screenshot.png DESTINATION docs)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME vxedit)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME vxedit-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
include(CPack)

if(VX_BUILD_TESTS)
  # The package is made from the built executables, unpacked and its vxprog.exe run under Wine.
  add_test(NAME package_zip
    COMMAND sh -c "\"$1\" -G ZIP --config CPackConfig.cmake >/dev/null && \"$2\" --check-only"
            package_zip ${CMAKE_CPACK_COMMAND} ${PROJECT_SOURCE_DIR}/tools/package
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  set_tests_properties(package_zip PROPERTIES LABELS package ENVIRONMENT "LANG=ja_JP.UTF-8" TIMEOUT 300)
endif()
