// The inputs of the dictionary stress run: dictionary files of many shapes, made
// with SQLite, and what becomes of them on a disk (cut short, bit-flipped,
// overwritten), plus files that are no database at all and paths that hold no
// file.
#pragma once

#include <string>
#include <vector>

#include "Random.h"

namespace stress {

enum class FileKind {
    Intact,           // a well-formed database as SQLite wrote it
    Truncated,        // cut at some length
    BitFlipped,       // a few bits flipped, often in the header or first page
    Overwritten,      // a run of bytes replaced, or one page copied over another
    RandomBytes,      // any bytes
    RandomAfterMagic, // "SQLite format 3" and then any bytes
    Empty,            // a file of 0 bytes
    Missing,          // no file at the path
    Folder,           // a folder at the path
    Locked,           // a good file another program holds exclusively
    Count
};

const char* Name(FileKind kind);

struct Input {
    FileKind kind = FileKind::Intact;
    std::string bytes;  // the file's content (for the kinds that have a file)
};

// Well-formed dictionary files of random shapes: the table with its three columns
// and also empty tables, tables of one, two or six columns, no table, a view,
// WITHOUT ROWID, UTF-16 databases, values that are NULL, numbers, BLOBs, empty,
// huge, multi-character, control characters and lone surrogates. Refreshed as the
// run goes so that the shapes keep changing.
class ImagePool {
public:
    explicit ImagePool(Rng& rng, size_t size = 48);
    const std::string& Pick(Rng& rng) const;
    // Replaces `count` images by new ones.
    void Refresh(Rng& rng, size_t count);
    size_t AverageBytes() const;

private:
    std::vector<std::string> m_images;
};

// One database image of a random shape.
std::string MakeImage(Rng& rng);

// The characters the tables are made of, so that look-ups often hit.
const std::vector<wchar_t>& Alphabet();

Input MakeInput(const ImagePool& pool, Rng& rng);

}  // namespace stress
