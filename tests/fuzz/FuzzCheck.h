#pragma once

// Reports a broken property and aborts, so that libFuzzer keeps the input that broke it.
[[gnu::format(printf, 2, 3)]] void Require(bool holds, const char* format, ...);
