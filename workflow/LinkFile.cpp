#include "workflow/LinkFile.h"

const char kDownloadLinkMarker[] = "[CVN_DOWNLOAD_LINK]=";

bool FirstLineReader::Feed(const char* data, std::size_t size)
{
    for (std::size_t i = 0; i < size && !m_done; ++i) {
        const char c = data[i];
        if (c == '\x1A') {
            if (m_pendingCr) {
                m_line.push_back('\r');
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
            m_line.push_back('\r');
        }
        if (c == '\n') {
            m_done = true;
        } else if (c == '\r') {
            m_pendingCr = true;
        } else {
            m_line.push_back(c);
        }
    }
    return !m_done;
}

std::string FirstLineReader::Line() const
{
    // A CR at the very end of the file has no LF after it and stays.
    if (m_pendingCr) {
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
