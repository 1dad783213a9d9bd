#include "parser/runtime/type_table.h"

#include <array>

#include "parser/language/ascii.h"

namespace portprobe::parser {

namespace {

struct TypeRow {
  std::string_view name;
  TypeCode code;
};

// "unsigned char*" is written without the blank that the other pointer rows have.
constexpr std::array<TypeRow, 14> kTypeTable = {{
    {"char", 0x09},
    {"unsigned char", 0x11},
    {"short", 0x1A},
    {"unsigned short", 0x22},
    {"int", 0x2C},
    {"unsigned int", 0x34},
    {"unsigned", 0x3C},
    {"char *", 0x89},
    {"unsigned char*", 0x91},
    {"short *", 0x9A},
    {"unsigned short *", 0xA2},
    {"int *", 0xAC},
    {"unsigned int *", 0xB4},
    {"unsigned *", 0xBC},
}};

unsigned SizeBits(TypeCode code) { return code & 0x07u; }

}  // namespace

TypeCode FindTypeCode(std::string_view typeName) {
  for (const TypeRow& row : kTypeTable) {
    if (EqualsIgnoreCase(row.name, typeName)) return row.code;
  }
  return 0;
}

unsigned ElementSize(TypeWord type) {
  const TypeCode code = CodeOf(type);
  if (IsArray(type) && (code & kPointerFlag) != 0) return 4;
  return SizeBits(code);
}

ScriptValue CutToWidth(TypeWord type, ScriptValue value) {
  const TypeCode code = CodeOf(type);
  if ((code & kPointerFlag) != 0) return value;
  if (SizeBits(code) == 1) return value & 0xFFu;
  if (SizeBits(code) == 2) return value & 0xFFFFu;
  return value;
}

}  // namespace portprobe::parser
