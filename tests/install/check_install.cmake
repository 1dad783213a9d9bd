# cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DPREFIX=... -P check_install.cmake
# Installs BUILD_DIR into PREFIX (emptied first) and checks what a user gets: the three
# programs with the help file beside them, a valid desktop entry that starts the
# installed terminal, the icons, and programs that run from the prefix.

function(run_checked)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "failed (${status}): ${ARGN}\n${out}${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

function(expect_same_file installed original)
  file(SHA256 "${installed}" installed_hash)
  file(SHA256 "${original}" original_hash)
  if(NOT installed_hash STREQUAL original_hash)
    message(SEND_ERROR "${installed} differs from ${original}")
  endif()
endfunction()

file(REMOVE_RECURSE "${PREFIX}")
run_checked(${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${PREFIX}")

foreach(file
    bin/portprobe bin/portprobe-cli bin/portprobe-sim bin/readme.txt
    share/applications/portprobe.desktop
    share/icons/hicolor/scalable/apps/portprobe.svg
    share/icons/hicolor/48x48/apps/portprobe.png
    share/icons/hicolor/128x128/apps/portprobe.png)
  if(NOT EXISTS "${PREFIX}/${file}")
    message(SEND_ERROR "not installed: ${file}")
  endif()
endforeach()

# The terminal opens the help file beside its own executable, installed or built.
expect_same_file("${PREFIX}/bin/readme.txt" "${BUILD_DIR}/src/app/readme.txt")

set(entry "${PREFIX}/share/applications/portprobe.desktop")
file(STRINGS "${entry}" exec_lines REGEX "^Exec=")
if(NOT exec_lines STREQUAL "Exec=${PREFIX}/bin/portprobe")
  message(SEND_ERROR "the desktop entry starts '${exec_lines}', not the installed terminal")
endif()
run_checked(desktop-file-validate "${entry}")
if(out)
  message(SEND_ERROR "desktop-file-validate: ${out}")
endif()

run_checked("${PREFIX}/bin/portprobe-sim" --help)
run_checked("${PREFIX}/bin/portprobe-cli" checksum crc16le "01 03 06 00 EA 01 90 00 01")
if(NOT out STREQUAL "01 03 06 00 EA 01 90 00   01 7D E1 \n")
  message(SEND_ERROR "installed portprobe-cli printed: ${out}")
endif()
