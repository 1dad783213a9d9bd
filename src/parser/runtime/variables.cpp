#include "parser/runtime/variables.h"

#include "parser/language/ascii.h"
#include "parser/runtime/literals.h"

namespace portprobe::parser {

namespace {

bool HasBracket(std::string_view word) { return word.find('[') != std::string_view::npos; }

std::string_view NameBeforeBracket(std::string_view word) { return word.substr(0, word.find('[')); }

}  // namespace

ScriptValue Variables::OperandValue(std::string_view word) {
  if (StartsWithDigit(word)) return ParseNumber(word);
  if (StartsWithQuote(word)) return pool_.PoolString(StripQuotes(word));
  return GetValue(word);
}

// The operand between the first "[" and the first "]" after it; none when a bracket is
// missing or the value counts as negative.
std::optional<ScriptValue> Variables::WordIndex(std::string_view word) {
  const std::size_t open = word.find('[');
  if (open == std::string_view::npos) return std::nullopt;
  const std::size_t close = word.find(']', open + 1);
  if (close == std::string_view::npos) return std::nullopt;
  const ScriptValue index = OperandValue(word.substr(open + 1, close - open - 1));
  if (IsNegative(index)) return std::nullopt;
  return index;
}

// A word without a usable index is looked up whole (and then misses).
Variables::Reference Variables::Resolve(std::string_view word) {
  const std::optional<ScriptValue> index = WordIndex(word);
  const int slot = store_.FindVisible(index ? NameBeforeBracket(word) : word);
  if (slot < 0) parserError_ = kVariableRecordMissing;
  return {slot, index};
}

int Variables::FindVariable(std::string_view word) { return Resolve(word).slot; }

ScriptValue Variables::GetValue(std::string_view word) {
  if (HasBracket(word)) {
    const std::optional<ScriptValue> index = WordIndex(word);
    return index ? GetElement(NameBeforeBracket(word), *index) : kAllOnes;
  }
  const int slot = store_.FindVisible(word);
  if (slot < 0) {
    parserError_ = kVariableValueMissing;
    return kAllOnes;
  }
  return store_.Value(slot);
}

int Variables::SetValue(std::string_view word, ScriptValue value) {
  if (HasBracket(word)) {
    const std::optional<ScriptValue> index = WordIndex(word);
    return index ? SetElement(NameBeforeBracket(word), *index, value) : -1;
  }
  const int slot = store_.FindOrCreate(word);
  if (slot >= 0) store_.SetValue(slot, CutToWidth(store_.Record(slot).type, value));
  return slot;
}

std::optional<Variables::ElementPlace> Variables::LocateElement(std::string_view name, ScriptValue index) const {
  const int slot = store_.FindVisible(name);
  if (slot < 0) return std::nullopt;
  const TypeWord type = store_.Record(slot).type;
  if (IsArray(type) && index >= ElementCountOf(type)) return std::nullopt;
  const unsigned size = ElementSize(type);
  return ElementPlace{slot, size, store_.Value(slot) + index * size};
}

ScriptValue Variables::GetElement(std::string_view name, ScriptValue index) {
  const std::optional<ElementPlace> place = LocateElement(name, index);
  if (!place || !IsAccessibleSize(place->size)) return kAllOnes;
  return arena_.Read(place->address, place->size);
}

int Variables::SetElement(std::string_view name, ScriptValue index, ScriptValue value) {
  const std::optional<ElementPlace> place = LocateElement(name, index);
  if (!place) return -1;
  if (IsAccessibleSize(place->size)) arena_.Write(place->address, place->size, value);
  return place->slot;
}

ScriptValue Variables::ElementAddress(std::string_view word) {
  if (StartsWithDigit(word) || StartsWithQuote(word)) return 0;
  const Reference reference = Resolve(word);
  if (reference.slot < 0) return 0;
  if (!reference.index) return store_.ValueAddress(reference.slot);
  const TypeWord type = store_.Record(reference.slot).type;
  if (IsArray(type) && *reference.index >= ElementCountOf(type)) return kAllOnes;
  const unsigned size = ElementSize(type);
  if (!IsAccessibleSize(size)) return 0;
  return store_.Value(reference.slot) + *reference.index * size;
}

StepResult Variables::DeclareVariable(std::string_view name, TypeWord type, ScriptValue initial) {
  if (FindVariable(name) >= 0) return StepResult::Error(kNameAlreadyVisible);
  parserError_ = 0;  // the miss was the expected outcome
  ScriptAddress buffer = 0;
  if (IsArray(type)) {
    buffer = arena_.CountedAllocate(ElementCountOf(type) * ElementSize(type));
    if (buffer == 0) return StepResult::Error(kNoMemoryForArray);
  }
  const int slot = SetValue(name, IsArray(type) ? buffer : initial);
  if (slot < 0) {
    arena_.CountedFree(buffer);
    return StepResult::Error(kDeclarationFailed);
  }
  // Typed after the store, so that a scalar keeps its initial value whole.
  store_.SetType(slot, type);
  store_.SetOwnedBuffer(slot, buffer);
  return StepResult::Next();
}

bool Variables::AllocateStringArray(std::string_view name, ScriptValue count) {
  // A count beyond the 24 count bits would spill into the type code.
  const bool declared = FindVariable(name) < 0 && count <= kMaxElementCount &&
                        DeclareVariable(name, MakeTypeWord(kCharPointerCode, count), 0).IsNext();
  if (!declared) parserError_ = kStringArrayFailed;
  return declared;
}

bool Variables::SetStringElement(std::string_view name, ScriptValue index, std::string_view text) {
  return SetElement(name, index, pool_.PoolString(text)) >= 0;
}

ScriptValue Variables::GetStringElement(std::string_view name, ScriptValue index) {
  const ScriptValue text = GetElement(name, index);
  return text == kAllOnes ? 0 : text;
}

}  // namespace portprobe::parser
