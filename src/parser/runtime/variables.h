#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "parser/runtime/memory_arena.h"
#include "parser/runtime/result_codes.h"
#include "parser/runtime/string_pool.h"
#include "parser/runtime/type_table.h"
#include "parser/runtime/variable_store.h"

namespace portprobe::parser {

// Variables and operands as the words of a line name them: "x", "buf[i]", "0x10",
// "'text'". Failed lookups set ParserError, which the run loop checks after each line
// of a function body.
class Variables {
 public:
  Variables(MemoryArena& arena, VariableStore& store, StringPool& pool) : arena_(arena), store_(store), pool_(pool) {}

  ResultCode ParserError() const { return parserError_; }
  void ClearParserError() { parserError_ = 0; }

  // A number, the address of a pooled copy of a quoted text, or a variable's value.
  ScriptValue OperandValue(std::string_view word);

  // The value of the word's index, evaluated as an operand; none when the word has no
  // brackets or the value counts as negative.
  std::optional<ScriptValue> WordIndex(std::string_view word);
  // The visible record that the word names ("name" or "name[index]"), or -1.
  int FindVariable(std::string_view word);
  // The value of a variable or element; kAllOnes when there is none.
  ScriptValue GetValue(std::string_view word);
  // Stores into a variable (created untyped when new, value cut to its width) or an
  // element; the slot stored into, or -1.
  int SetValue(std::string_view word, ScriptValue value);

  // Element access through a record's value: bounds-checked against an array's count.
  ScriptValue GetElement(std::string_view name, ScriptValue index);
  int SetElement(std::string_view name, ScriptValue index, ScriptValue value);
  // "&word": address of a variable's value word or of an element; 0 for no variable.
  ScriptValue ElementAddress(std::string_view word);

  // Creates a typed variable; an array gets a zero-filled buffer. Next or an error.
  StepResult DeclareVariable(std::string_view name, TypeWord type, ScriptValue initial);
  // A "char *" array of count text addresses, all 0.
  bool AllocateStringArray(std::string_view name, ScriptValue count);
  bool SetStringElement(std::string_view name, ScriptValue index, std::string_view text);
  // The text address in the element, 0 when there is none.
  ScriptValue GetStringElement(std::string_view name, ScriptValue index);
  void DeleteVariable(std::string_view name) { store_.Delete(name); }

  std::string TextAt(ScriptAddress address) const { return arena_.ReadText(address); }
  ScriptAddress PoolString(std::string_view text) { return pool_.PoolString(text); }
  VariableStore& store() { return store_; }

 private:
  struct Reference {
    int slot;
    std::optional<ScriptValue> index;
  };
  struct ElementPlace {
    int slot;
    unsigned size;
    ScriptAddress address;
  };

  Reference Resolve(std::string_view word);
  std::optional<ElementPlace> LocateElement(std::string_view name, ScriptValue index) const;

  MemoryArena& arena_;
  VariableStore& store_;
  StringPool& pool_;
  ResultCode parserError_ = 0;
};

}  // namespace portprobe::parser
