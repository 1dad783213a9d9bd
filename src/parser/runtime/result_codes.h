#pragma once

#include "parser/runtime/step_result.h"

namespace portprobe::parser {

// 0x00: assignment word
inline constexpr ResultCode kBadAssignmentWord = 0x80000279;
// 0x01: no such statement or function
inline constexpr ResultCode kUnknownStatement = 0x8001033b;
// 0x02: wrong number or order of words
inline constexpr ResultCode kIfGotoWordCount = 0x80020147;
inline constexpr ResultCode kIfWordCount = 0x8002014e;
inline constexpr ResultCode kWhileWordCount = 0x8002016c;
inline constexpr ResultCode kForWordCount = 0x80020184;
inline constexpr ResultCode kOperatorWordCount = 0x800201ce;
inline constexpr ResultCode kStepWordCount = 0x800201ea;
inline constexpr ResultCode kAssignmentWordCount = 0x8002027d;
inline constexpr ResultCode kAddressWithoutAmpersand = 0x80020282;
inline constexpr ResultCode kAllocStrWordCount = 0x800202ad;
inline constexpr ResultCode kIndexBracketsUnpaired = 0x800203b8;
inline constexpr ResultCode kIndexBracketsNotJoined = 0x800203be;
// 0x03: a store into a variable failed
inline constexpr ResultCode kForStepStoreFailed = 0x80030192;
inline constexpr ResultCode kOperatorStoreFailed = 0x800301dd;
inline constexpr ResultCode kStepStoreFailed = 0x800301ef;
inline constexpr ResultCode kAssignmentStoreFailed = 0x800302a2;
inline constexpr ResultCode kDeclarationFailed = 0x80030261;
inline constexpr ResultCode kSetStoreFailed = 0x800300ee;
inline constexpr ResultCode kSetFromFrameStoreFailed = 0x800300f4;
// 0x04: allocstr failed
inline constexpr ResultCode kAllocStrFailed = 0x800402b0;
// 0x05: a string element store failed
inline constexpr ResultCode kInitializerTextNotStored = 0x800502d2;
inline constexpr ResultCode kSetStrFailed = 0x800502f6;
// 0x06: printstr found no element
inline constexpr ResultCode kPrintStrNoElement = 0x80060315;
// 0x07: out of memory
inline constexpr ResultCode kNoMemoryForArray = 0x80070252;
// 0x08: name already in use
inline constexpr ResultCode kNameAlreadyVisible = 0x8008024b;
inline constexpr ResultCode kStringArrayFailed = 0x80080311;
// 0x0a: variable not found
inline constexpr ResultCode kEchoVariableMissing = 0x800a00c6;
inline constexpr ResultCode kVariableValueMissing = 0x800a02a5;
inline constexpr ResultCode kVariableRecordMissing = 0x800a02c5;
inline constexpr ResultCode kInitializerNumberNotStored = 0x800a02d9;
// 0x0b: the script exceeds the interpreter's tables and is not run (site: the limit)
inline constexpr ResultCode kTooManyLines = 0x800b1000;
inline constexpr ResultCode kTooManyFunctions = 0x800b0064;
// 0x0c: division by zero
inline constexpr ResultCode kDivisionByZero = 0x800c0001;
// 0x0d: a function called while it is already running
inline constexpr ResultCode kRecursiveCall = 0x800d0001;
// 0x0e: the run was interrupted
inline constexpr ResultCode kStopRequested = 0x800e0001;
inline constexpr ResultCode kStepLimitReached = 0x800e0002;

}  // namespace portprobe::parser
