#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// What the fuzz targets run on each input. The test suite replays the corpus
// and every crash input through these same functions, so a crash found while
// fuzzing stays a failing test until it is fixed.
namespace vidorun::fuzz {

// Reads the bytes as a project file: item by item, once whole and once in
// small pieces of varying size, then into a project as start-up does, and
// writes that project again. Answers what broke the reader's promises (items
// no longer than MaxItemBytes, the same items whatever the pieces, counters
// in decimal, the movie list within the tables), or "" when nothing did.
std::string readerViolation(const std::uint8_t *data, std::size_t size);

// Builds a project from the bytes (first byte: how the text is taken, second
// byte: the number of movies, then one value per line: title, cover, player,
// codec, close switch, then path, title and CD label of each movie), writes it
// and reads it back. Answers what came back other than the writer promises,
// or "" when everything did:
// - titles come back as they were; paths, CD labels, cover, player, codec and
//   the close switch upper-cased, an empty close switch as "0";
// - a value that needs quotes has its double quotes as single quotes;
// - an item longer than MaxItemBytes is cut, so its value is not compared;
// - a lone surrogate of UTF-16 input, which no UTF-8 holds, is U+FFFD from
//   the start, and comes back as such;
// - what was read back, written and read again, gives the same file.
std::string roundTripViolation(const std::uint8_t *data, std::size_t size);

// Takes the bytes as names for one folder of a disc (first byte: bit 0 for
// ASCII names, bit 1 for names in UTF-16 rather than UTF-8; then one name a
// line, the first reserved as the folder's own), names them as publishing
// does and answers what broke the promises of safe_names.h, or "": every
// name given passes the disc's name rules (ASCII only when asked), is the
// only one of its folder to Windows and Joliet, stays as it is when made safe
// again, and the same names give the same result; every volume identifier is
// 1 to 32 capitals, digits or '_'.
std::string safeNamesViolation(const std::uint8_t *data, std::size_t size);

}  // namespace vidorun::fuzz
