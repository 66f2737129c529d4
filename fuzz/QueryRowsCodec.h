#pragma once

#include "engine/queries/QueryRows.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace quarix::fuzz {

// The fuzz input form of one saved query's MSysQueries rows: a kind byte,
// then per row attribute, flag, order, extra (one byte each), a byte of
// presence bits (1 expression, 2 name1, 4 name2) and each present text as a
// 16-bit little-endian length and its bytes. Decoding takes any bytes and
// stops at the first incomplete row.
struct EncodedQuery {
    int kind = 0; // index of engine::QueryKind
    std::vector<engine::MSysQueryRow> rows;
};

EncodedQuery decodeQueryRows(std::span<const std::uint8_t> bytes);
std::string encodeQueryRows(const EncodedQuery& query);

} // namespace quarix::fuzz
