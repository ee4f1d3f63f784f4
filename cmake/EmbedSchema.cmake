# Writes the schema script as a C++ byte array (hex, so no quoting can break it).
file(READ ${INPUT} bytes HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
file(WRITE ${OUTPUT} "// Generated from resources/schema.sql; do not edit.\n#pragma once\nstatic const unsigned char SchemaSqlBytes[] = {${bytes} 0x00};\n")
