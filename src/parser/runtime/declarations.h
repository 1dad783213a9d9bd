#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "parser/language/words.h"
#include "parser/runtime/result_codes.h"
#include "parser/runtime/type_table.h"
#include "parser/runtime/variables.h"

namespace portprobe::parser {

struct Declaration {
  TypeWord type = 0;
  std::size_t nameIndex = 0;
  ScriptValue initial = 0;
};

// "TYPE name", "TYPE name = operand" or "TYPE name [ count ] ...", TYPE being the type
// words of a TypeTable row. The initial value or count is evaluated before the type is
// looked up, whether or not the line turns out to be a declaration.
std::optional<Declaration> ParseDeclaration(Variables& variables, const Words& words);

// Stores the initializer items into elements 0, 1, ... of the array: texts for a
// "char *" array, numbers (never variables) for every other type.
StepResult FillInitializers(Variables& variables, std::string_view name, TypeWord type,
                            std::span<const std::string> items);

// Runs the line as a declaration with its "{ ... }" initializer list; none when the
// line is not a declaration.
std::optional<StepResult> DeclarationStatement(Variables& variables, const Words& words);

}  // namespace portprobe::parser
