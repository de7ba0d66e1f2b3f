#include "workflow/LinkFile.h"

#include "Profile.h"

const char kDownloadLinkMarker[] = CVN_LINK_MARKER;

void FirstLineReader::Append(char c)
{
    if (m_line.size() == kMaxFirstLineBytes) {
        m_tooLong = true;
        m_done = true;
        return;
    }
    m_line.push_back(c);
}

bool FirstLineReader::Feed(const char* data, std::size_t size)
{
    for (std::size_t i = 0; i < size && !m_done; ++i) {
        const char c = data[i];
        if (c == '\x1A') {
            if (m_pendingCr) {
                Append('\r');
                m_pendingCr = false;
            }
            m_done = true;
            break;
        }
        if (m_pendingCr) {
            m_pendingCr = false;
            if (c == '\n') {
                m_done = true;
                break;
            }
            Append('\r');
            if (m_done) {
                break;
            }
        }
        if (c == '\n') {
            m_done = true;
        } else if (c == '\r') {
            m_pendingCr = true;
        } else {
            Append(c);
        }
    }
    return !m_done;
}

std::string FirstLineReader::Line() const
{
    // A CR at the very end of the file has no LF after it and stays.
    if (m_pendingCr && m_line.size() < kMaxFirstLineBytes) {
        return m_line + '\r';
    }
    return m_line;
}

std::string FirstTextLine(const std::string& fileBytes)
{
    FirstLineReader reader;
    reader.Feed(fileBytes.data(), fileBytes.size());
    return reader.Line();
}

bool ExtractDownloadLink(const std::string& firstLine, std::string& link)
{
    const std::string marker(kDownloadLinkMarker);
    std::string::size_type found = firstLine.find(marker, 0);
    if (found == std::string::npos) {
        return false;
    }
    // One left-to-right pass over non-overlapping occurrences: a marker
    // that only forms once its neighbours are joined is not removed again.
    std::string result;
    result.reserve(firstLine.size());
    std::string::size_type from = 0;
    while (found != std::string::npos) {
        result.append(firstLine, from, found - from);
        from = found + marker.size();
        found = firstLine.find(marker, from);
    }
    result.append(firstLine, from, std::string::npos);
    link = result;
    return true;
}

namespace {

bool StartsWithNoCase(const std::string& text, const char* prefix)
{
    std::size_t i = 0;
    for (; prefix[i] != '\0'; ++i) {
        if (i >= text.size()) {
            return false;
        }
        char c = text[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if (c != prefix[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool WebAddressFromLink(const std::string& link, std::string& address)
{
    const char kBlanks[] = " \t\r";
    const std::string::size_type first = link.find_first_not_of(kBlanks);
    if (first == std::string::npos) {
        return false;
    }
    const std::string candidate = link.substr(first, link.find_last_not_of(kBlanks) - first + 1);
    std::size_t host = 0;
    if (StartsWithNoCase(candidate, "http://")) {
        host = 7;
    } else if (StartsWithNoCase(candidate, "https://")) {
        host = 8;
    } else {
        return false;
    }
    if (host >= candidate.size() || candidate.size() > kMaxWebAddressBytes ||
        std::string("/?#").find(candidate[host]) != std::string::npos) {
        return false;
    }
    for (char c : candidate) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F || c == '"' || c == '\\') {
            return false;
        }
    }
    address = candidate;
    return true;
}

bool DownloadAddressFromFirstLine(const FirstLineReader& reader, std::string& address)
{
    std::string link;
    return !reader.TooLong() && ExtractDownloadLink(reader.Line(), link) && WebAddressFromLink(link, address);
}

FileManagerStart FileManagerFor(const std::wstring& windowsFolder, const std::string& address)
{
    // One argument: a web address holds no blank and no quote.
    return {windowsFolder + L"\\explorer.exe", L"\"" + std::wstring(address.begin(), address.end()) + L"\"",
            windowsFolder};
}
