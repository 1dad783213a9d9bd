# What differs between Linux and Windows lives in files named after the interface they
# implement, with the system as suffix: serial_link_linux.cpp, serial_link_windows.cpp.
# portprobe_platform_sources(target base...) adds the current system's file of each base.
if(WIN32)
  set(PORTPROBE_PLATFORM windows)
else()
  set(PORTPROBE_PLATFORM linux)
endif()

function(portprobe_platform_sources target)
  foreach(base IN LISTS ARGN)
    target_sources(${target} PRIVATE ${base}_${PORTPROBE_PLATFORM}.cpp)
  endforeach()
endfunction()
