#pragma once

#include <algorithm>
#include <chrono>

namespace vexlo {

// How far a run may fall behind its pauses and still catch up: as late as a busy machine (or the
// host of a virtual one) wakes a thread, a scheduler slice or two; less than a stalled report
// write, whose catching up would fire a burst.
inline constexpr std::chrono::milliseconds kLongestCatchUp{10};

// When a pause of `length` that follows a pause ending at `previousEnd` is to end, asked at
// `now`. Pauses are laid end to end from the start of the run, so a late wake-up, or the time the
// reports between two pauses take, shortens the next pause (to nothing if need be) and never moves
// the ones after it: rapid fire keeps its period over any number of clicks. A loss longer than
// both the pause and kLongestCatchUp is not made up for: the pause ends now, and the next ones
// count from there.
template <typename TimePoint, typename Duration>
TimePoint PauseEnd(TimePoint previousEnd, Duration length, TimePoint now) {
  const auto loss = now - previousEnd;
  if (loss > std::max<decltype(loss)>(length, kLongestCatchUp)) return now;
  return previousEnd + length;
}

}  // namespace vexlo
