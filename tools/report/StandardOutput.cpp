#include "tools/report/StandardOutput.h"
#include "tools/report/Console.h"

#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>

namespace serivane::tools {

StandardOutput::StandardOutput() : inner_(std::cout.rdbuf(this)) {}

StandardOutput::~StandardOutput() {
    std::cout.rdbuf(inner_);
}

StandardOutput::int_type StandardOutput::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    errno = 0;
    const int_type put = inner_->sputc(traits_type::to_char_type(c));
    if (traits_type::eq_int_type(put, traits_type::eof())) failed();
    return put;
}

std::streamsize StandardOutput::xsputn(const char* text, std::streamsize count) {
    errno = 0;
    const std::streamsize put = inner_->sputn(text, count);
    if (put != count) failed();
    return put;
}

int StandardOutput::sync() {
    errno = 0;
    const int synced = inner_->pubsync();
    if (synced != 0) failed();
    return synced;
}

void StandardOutput::failed() {
    if (!failed_) reason_ = errno;
    failed_ = true;
}

int StandardOutput::finish(int code, std::ostream& err) {
    std::cout.flush();
    if (!failed_) return code;
    err << "serivane: cannot write standard output"
        << (reason_ != 0 ? std::string(": ") + std::strerror(reason_) : std::string()) << '\n';
    return code == exitOk ? exitFailure : code;
}

} // namespace serivane::tools
