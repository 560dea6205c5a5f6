# Writes a C++ source that holds a file as a constant byte array in the stored
# layout of byte-array constants: int32 1, int32 byte count, then the bytes.
#   cmake -DINPUT=file -DOUTPUT=file.cpp -DNAME=kSymbol -P embed_bytes.cmake
cmake_minimum_required(VERSION 3.25)

file(SIZE "${INPUT}" size)
file(READ "${INPUT}" hex HEX)

function(int32_le value out)
    set(bytes "")
    foreach(shift 0 8 16 24)
        math(EXPR byte "(${value} >> ${shift}) & 255" OUTPUT_FORMAT HEXADECIMAL)
        list(APPEND bytes "${byte}")
    endforeach()
    list(JOIN bytes ", " joined)
    set(${out} "${joined}" PARENT_SCOPE)
endfunction()
int32_le(1 dimension)
int32_le(${size} count)

# 16 bytes per line.
string(LENGTH "${hex}" hexLength)
set(lines "")
set(offset 0)
while(offset LESS hexLength)
    string(SUBSTRING "${hex}" ${offset} 32 chunk)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1, " chunk "${chunk}")
    string(APPEND lines "    ${chunk}\n")
    math(EXPR offset "${offset} + 32")
endwhile()

get_filename_component(source "${INPUT}" NAME)
file(WRITE "${OUTPUT}.tmp"
"// Generated at build time from ${source}; do not edit.
#include <cstddef>
#include <cstdint>

extern const std::uint8_t ${NAME}[];
extern const std::size_t ${NAME}Size;

alignas(4) const std::uint8_t ${NAME}[] = {
    ${dimension},
    ${count},
${lines}};
const std::size_t ${NAME}Size = sizeof(${NAME});
")
# Leave the file alone when nothing changed, so dependants do not rebuild.
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
