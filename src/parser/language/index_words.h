#pragma once

#include "parser/language/words.h"

namespace portprobe::parser {

// How the index words of a line came together.
enum class IndexJoin {
  kJoined,     // every "[" had its name and "]", or there was none
  kUnpaired,   // a "[" is the first word, or no "]" stands after its name
  kNotJoined,  // the first "]" is the name itself
};

// Joins every "name [ index ]" into one word ("buf", "[", "i", "]" into "buf[i]"),
// leftmost "[" first, and stops at the first that cannot be joined.
IndexJoin JoinIndexWords(Words& words);

}  // namespace portprobe::parser
