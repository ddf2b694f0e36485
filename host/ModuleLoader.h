#pragma once

namespace serivane::host {

// Where the platform's library lies inside a bundle: Contents/<architectureFolder>/
// NAME<libraryExtension>. Defined by the platform's module loader beside Module::load.
extern const char* const architectureFolder;
extern const char* const libraryExtension;

} // namespace serivane::host
