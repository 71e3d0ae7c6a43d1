# The Windows program's packages (scripts/lib/pack-windows.sh, run by scripts/package-windows.sh):
# - kelvrast-<version>-win64.exe, an installer: the program under Program Files, a Start Menu shortcut, an entry in
#   Windows' list of installed programs with its uninstaller; `/S` installs without a question, for a lab
#   administrator who installs it on many machines at once;
# - kelvrast-<version>-win64.zip, kelvrast.exe alone, for a machine where the student may not install programs: it
#   runs from any folder, a USB key included;
# - kelvrast-<version>-win64.msi, made by wixl from kelvrast.wxs.in, for a lab administrator who deploys MSI packages:
#   a per-machine install, silent with msiexec /qn, and a newer version replaces an older one.
# kelvrast.exe is signed before it is packed when a certificate is given (SignWindowsProgram.cmake).
# Uninstalling removes what was installed and nothing else: c:\kelvrast holds the students' work.
include(${CMAKE_CURRENT_LIST_DIR}/PackageDescription.cmake)

install(TARGETS kelvrast RUNTIME DESTINATION .)
# Stripped as it is linked, with no time stamp in its header: the same sources make the same kelvrast.exe, in the
# installer and in the zip alike. (Stripping it afterwards would write the time of stripping into the header.)
target_link_options(kelvrast PRIVATE -s LINKER:--no-insert-timestamp)
set(CPACK_STRIP_FILES OFF)

set(CPACK_PACKAGE_FILE_NAME kelvrast-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY kelvrast)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY kelvrast)
set(CPACK_PACKAGE_EXECUTABLES kelvrast kelvrast)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/data/windows-installer-notice.txt)

set(CPACK_NSIS_PACKAGE_NAME kelvrast)
set(CPACK_NSIS_DISPLAY_NAME kelvrast)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
# A 64-bit installer: the default 32-bit one does not start where Windows has no 32-bit subsystem.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/data/kelvrast.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/data/kelvrast.ico)
# Without it the entry in the list of installed programs has no icon.
set(CPACK_NSIS_INSTALLED_ICON_NAME kelvrast.exe)

set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/SignWindowsProgram.cmake)
set(CPACK_KELVRAST_SIGN_SCRIPT ${PROJECT_SOURCE_DIR}/scripts/lib/sign-windows.sh)

set(CPACK_GENERATOR NSIS ZIP)
# Settings of one generator alone: the zip holds kelvrast.exe with no folder around it.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/PackagingWindowsPerGenerator.cmake)
include(CPack)

# What wixl needs beside the program, in one folder: it takes no absolute paths.
configure_file(${CMAKE_CURRENT_LIST_DIR}/kelvrast.wxs.in ${PROJECT_BINARY_DIR}/msi/kelvrast.wxs @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/data/kelvrast.ico ${PROJECT_BINARY_DIR}/msi/kelvrast.ico COPYONLY)
