# Turns a binary file into a C++ source that defines it as a constant byte array, so the
# bytes land in the program's read-only data.
# Usage: cmake -DINPUT=file -DOUTPUT=source.cpp -DNAME=symbol -DHEADER=include -P embed-binary.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# One line per 32 bytes keeps the generated file readable in an editor.
string(REGEX REPLACE "((0x..,){32})" "\\1\n    " bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
  "// Generated at build time from ${INPUT}; edit the source file, not this one.\n"
  "#include \"${HEADER}\"\n\n"
  "extern const unsigned char ${NAME}[] = {\n    ${bytes}\n};\n"
  "extern const std::size_t ${NAME}_size = ${size};\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
