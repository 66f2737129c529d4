#pragma once

#include <cstddef>

namespace quarix::engine::sql {

// How far a statement may nest and grow before it is "too complex", as
// Access calls it. Nesting is bounded so that parsing and translating,
// which recurse once per level, stay far inside the stack (also under the
// sanitizers); SQLite refuses much shallower SQL anyway. The size bounds
// the SQLite text, which constructs such as Between repeat their operand in.
inline constexpr int kMaxNesting = 128;
inline constexpr std::size_t kMaxSqlBytes = std::size_t{16} << 20;
// Saved queries built on saved queries, as deep as Access allows.
inline constexpr std::size_t kMaxSavedQueryNesting = 50;

} // namespace quarix::engine::sql
