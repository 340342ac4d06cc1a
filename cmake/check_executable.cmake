# Fails unless the shipped program EXE is at most 320 KB, carries no symbols and imports no DLL
# beyond Windows' own: a static runtime that grows back (an exception or thread runtime pulled in
# by one innocent line) shows here first. (The icon's images, 16 to 256 pixels in full colour,
# take 24 KB of it.)
#   cmake -DEXE=<Brisa.exe> -DOBJDUMP=<objdump> -P check_executable.cmake
cmake_minimum_required(VERSION 3.25)
set(limit 327680)
set(windows_dlls advapi32 comctl32 gdi32 kernel32 msvcrt shell32 user32 winmm)

file(SIZE ${EXE} size)
if(size GREATER limit)
    message(FATAL_ERROR "${EXE} is ${size} bytes; at most ${limit} are allowed")
endif()

execute_process(COMMAND ${OBJDUMP} -p -t ${EXE} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "${OBJDUMP} cannot read ${EXE}")
endif()
if(NOT dump MATCHES "no symbols")
    message(FATAL_ERROR "${EXE} is not stripped")
endif()
string(REGEX MATCHALL "DLL Name: [^\r\n]+" imports "${dump}")
foreach(import ${imports})
    string(REGEX REPLACE "DLL Name: (.+)\\.[dD][lL][lL]" "\\1" dll "${import}")
    string(TOLOWER ${dll} dll)
    if(NOT dll IN_LIST windows_dlls)
        message(FATAL_ERROR "${EXE} imports ${dll}.dll, which Windows does not provide")
    endif()
endforeach()
message(STATUS "${EXE}: ${size} bytes, stripped, imports only Windows DLLs")
