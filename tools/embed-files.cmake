# Writes a C++ source holding the bytes of the given files, so the program
# carries its pictures inside its executable.
# Usage: cmake -DOUTPUT=out.cpp -DDIRECTORY=folder -P embed-files.cmake
file(GLOB FILES ${DIRECTORY}/*.png)
list(SORT FILES)
set(body "// Generated from the installer's picture files; do not edit.\n#include \"install/resources/EmbeddedPictures.h\"\n\nnamespace {\n")
set(table "")
set(index 0)
foreach(file IN LISTS FILES)
  get_filename_component(name ${file} NAME)
  file(READ ${file} hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND body "const unsigned char file${index}[] = {${bytes}};\n")
  string(APPEND table "    {\"${name}\", file${index}, sizeof(file${index})},\n")
  math(EXPR index "${index} + 1")
endforeach()
string(APPEND body "}  // namespace\n\nconst EmbeddedPicture embeddedPictures[] = {\n${table}};\nconst std::size_t embeddedPictureCount = ${index};\n")
file(WRITE ${OUTPUT}.tmp "${body}")
execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different ${OUTPUT}.tmp ${OUTPUT})
