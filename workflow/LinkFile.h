#pragma once
// Pure rules of the link file, no Windows headers: also built natively for
// fuzzing. The file is 8-bit text read in text mode; only its first line
// counts.
#include <cstddef>
#include <string>

extern const char kDownloadLinkMarker[];  // "[CVN_DOWNLOAD_LINK]="

// Collects the first line of a text-mode read from bytes fed in pieces:
// LF ends the line, a CR directly before the LF is dropped, a lone CR stays
// part of the line, and a Ctrl-Z byte ends the file.
class FirstLineReader {
public:
    // Feeds the next piece of the file; false once the line is complete and
    // nothing more needs to be read.
    bool Feed(const char* data, std::size_t size);
    // The line read so far, as complete once Feed returned false or the
    // file has ended.
    std::string Line() const;

private:
    std::string m_line;
    bool m_pendingCr = false;
    bool m_done = false;
};

// Convenience for whole buffers.
std::string FirstTextLine(const std::string& fileBytes);

// The link in `firstLine`: the line with every occurrence of the marker
// removed; false when the marker does not occur.
bool ExtractDownloadLink(const std::string& firstLine, std::string& link);
