#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "common/Result.h"

// The rules for the names of profiles and macros, shared by both stores and the panels that edit
// them. A profile's name is also its file name, so a name must never be able to become a path.
namespace vexlo {

class UserMessages;

// The name a user typed (or a file carried), ready to use: white space trimmed. InvalidName when
// nothing is left, or when it holds one of \ / : * ? " < > | or a control character.
[[nodiscard]] Result CleanUserName(std::string_view typed, std::string& name);

// The name cut to at most `maxUnits` UTF-16 units; white space that the cut leaves at the end goes.
std::string CutName(std::string_view name, std::size_t maxUnits);

// The file name of a path without its folder and extension: "/x/Game.profile" gives "Game",
// "/x/.profile" gives "".
std::string NameFromPath(std::string_view path);

// The name without its copy suffix: the word, spelled exactly, immediately followed by one or more
// decimal digits at the end, with at least one character before the word. With the word Copy,
// "AttackCopy12" gives "Attack"; "Attack12" and "Copy3" stay. A word or name shorter than two
// characters removes nothing.
std::string StripCopySuffix(std::string_view name, std::string_view word);

// How new names are made: a stem and a counter, "Macro" + "001" for new items ("%03d") or
// "Attack" + "Copy" + "1" for copies ("%d").
class NamePattern {
 public:
  // `prefix` cut to `maxStemUnits` units; counters of three digits.
  static NamePattern ForNew(std::string_view prefix, std::size_t maxStemUnits);
  // `name` without its copy suffix, then `word`, together at most `maxStemUnits` units; plain
  // counters.
  static NamePattern ForCopy(std::string_view name, std::string_view word,
                             std::size_t maxStemUnits);

  std::string Candidate(int counter) const;

  // The first candidate, counting from 1 to `tries`, that `taken` refuses; none when all are taken.
  std::optional<std::string> FirstFree(int tries,
                                       const std::function<bool(const std::string&)>& taken) const;

 private:
  NamePattern(std::string stem, bool threeDigits)
      : stem_(std::move(stem)), threeDigits_(threeDigits) {}

  std::string stem_;  // holds none of the characters a name may not hold
  bool threeDigits_;
};

// The question asked before a name that another profile or macro has is taken over: Ok when the
// user answers yes, NameConflict otherwise. User-interface thread.
[[nodiscard]] Result ConfirmNameConflict(UserMessages& messages);

}  // namespace vexlo
