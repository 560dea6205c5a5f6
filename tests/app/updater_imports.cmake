# Fails when a program statically imports a library that the system does not
# always take from its own directory: such an import is looked for beside the
# program before the program can restrict the search, so a file dropped there
# would run inside it.
#   cmake -DOBJDUMP=objdump -DPROGRAM=updater.exe -P updater_imports.cmake
cmake_minimum_required(VERSION 3.25)

# The system's known libraries (KnownDLLs), always loaded from the system directory.
set(known advapi32 comdlg32 gdi32 imm32 kernel32 msvcrt ole32 oleaut32 rpcrt4 shell32 shlwapi user32 ws2_32)

execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE dump RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cannot read the import table of ${PROGRAM}")
endif()
string(REGEX MATCHALL "DLL Name: [^\r\n]+" imports "${dump}")
if(NOT imports)
    message(FATAL_ERROR "no imported library found in ${PROGRAM}")
endif()
set(names "")
set(foreign "")
foreach(line IN LISTS imports)
    string(REGEX REPLACE "^DLL Name: ([^ ]+)\\.[dD][lL][lL] *$" "\\1" name "${line}")
    string(TOLOWER "${name}" name)
    list(APPEND names ${name})
    if(NOT name IN_LIST known)
        list(APPEND foreign ${name})
    endif()
endforeach()
if(foreign)
    message(FATAL_ERROR "${PROGRAM} imports libraries that would be looked for beside it: ${foreign}")
endif()
message(STATUS "imports only known system libraries: ${names}")
