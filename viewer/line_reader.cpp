// SPDX-License-Identifier: GPL-3.0-or-later
#include "line_reader.h"

#include <exception>

namespace trelvik {

LineReader::LineReader(std::istream &stream, std::size_t keepLimit)
    : stream_(stream)
    , keepLimit_(keepLimit)
{}

bool LineReader::ReadLine(std::string &line)
{
    // A read error (a folder opened as a file, a failing disk) may surface as an exception
    // from the stream buffer. It ends the text, and the line it broke off is not returned.
    try {
        return ReadLineOrThrow(line);
    } catch (const std::exception &) {
        line.clear();
        return false;
    }
}

bool LineReader::ReadLineOrThrow(std::string &line)
{
    line.clear();
    truncated_ = false;
    using Traits = std::istream::traits_type;
    std::streambuf *buffer = stream_.rdbuf();
    if (buffer == nullptr)
        return false;
    int c = buffer->sbumpc();
    if (Traits::eq_int_type(c, Traits::eof()))
        return false;
    while (!Traits::eq_int_type(c, Traits::eof())) {
        const char ch = Traits::to_char_type(c);
        if (ch == '\r') {
            if (Traits::eq_int_type(buffer->sgetc(), Traits::to_int_type('\n')))
                buffer->sbumpc();
            return true;
        }
        if (line.size() < keepLimit_)
            line.push_back(ch);
        else
            truncated_ = true;
        c = buffer->sbumpc();
    }
    return true;
}

} // namespace trelvik
