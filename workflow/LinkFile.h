#pragma once
// Pure rules of the link file, no Windows headers: also built natively for
// fuzzing. The file is 8-bit text read in text mode; only its first line
// counts.
#include <cstddef>
#include <string>

extern const char kDownloadLinkMarker[];  // the profile's link marker

// The longest first line read; a longer one is a wrong file, however
// large the file is.
constexpr std::size_t kMaxFirstLineBytes = 64 * 1024;

// Collects the first line of a text-mode read from bytes fed in pieces:
// LF ends the line, a CR directly before the LF is dropped, a lone CR stays
// part of the line, and a Ctrl-Z byte ends the file.
class FirstLineReader {
public:
    // Feeds the next piece of the file; false once the line is complete, or
    // too long, and nothing more needs to be read.
    bool Feed(const char* data, std::size_t size);
    // The line read so far, as complete once Feed returned false or the
    // file has ended; its first kMaxFirstLineBytes when it is too long.
    std::string Line() const;
    // The line goes on past kMaxFirstLineBytes.
    bool TooLong() const { return m_tooLong; }

private:
    void Append(char c);

    std::string m_line;
    bool m_pendingCr = false;
    bool m_done = false;
    bool m_tooLong = false;
};

// Convenience for whole buffers.
std::string FirstTextLine(const std::string& fileBytes);

// The link in `firstLine`: the line with every occurrence of the marker
// removed; false when the marker does not occur.
bool ExtractDownloadLink(const std::string& firstLine, std::string& link);

// The longest address handed on: what browsers and the shell take
// everywhere, far below the 32,767 characters of a command line.
constexpr std::size_t kMaxWebAddressBytes = 2048;

// The address a link opens: the link with the blanks around it (spaces,
// tabs, CRs) dropped, when it is a web address: "http://" or "https://" in
// any letter case, a host after the slashes, at most kMaxWebAddressBytes
// of printable ASCII other than a blank, a double quote or a backslash (a
// backslash before the closing quote would escape it). False for anything
// else (a local or network path, another scheme, an empty link): the file
// manager would open those as given.
bool WebAddressFromLink(const std::string& link, std::string& address);

// What DownloadCVN opens for a link file whose first line was read by
// `reader`: false for the wrong-file case (no marker, a line too long, no
// web address).
bool DownloadAddressFromFirstLine(const FirstLineReader& reader, std::string& address);

// How DownloadCVN hands `address` to the file manager: explorer.exe of the
// Windows folder, started there, with the address as one quoted argument.
struct FileManagerStart {
    std::wstring program;
    std::wstring parameters;
    std::wstring folder;
};
FileManagerStart FileManagerFor(const std::wstring& windowsFolder, const std::string& address);
