#pragma once

namespace serivane::tools {

const char* generalUsage();
const char* infoUsage();
const char* renderUsage();
const char* snapshotUsage();
const char* editUsage();
const char* playUsage();
const char* devicesUsage();

} // namespace serivane::tools
