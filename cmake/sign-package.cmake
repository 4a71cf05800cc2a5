# Run by CPack after it has staged the package's files and before it zips them: signs each
# staged program (px-installer.exe and any other .exe the package holds) with scripts/sign.sh,
# which signs when PX_SIGN_PFX names a certificate and otherwise says that the program is
# unsigned. A failed signature fails the package.
file(GLOB_RECURSE exes "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*.exe")
if(NOT exes MATCHES "px-installer\\.exe")
  message(FATAL_ERROR "no px-installer.exe under ${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
endif()
foreach(exe IN LISTS exes)
  execute_process(COMMAND bash "${CPACK_PX_SIGN_SCRIPT}" "${exe}" RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "signing ${exe} failed")
  endif()
endforeach()
