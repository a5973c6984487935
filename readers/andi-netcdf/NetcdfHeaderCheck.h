#pragma once
// A strict check of a netCDF classic (CDF-1, CDF-2) header before the netCDF library parses it. The library
// allocates from the header's counts without comparing them with the file's size, so a hostile header can make it
// ask for gigabytes; this check walks the same structure and refuses every count the bytes cannot hold.
#include <cstddef>
#include <string>

namespace corvelin {

// Throws CRunReadError (EBADMSG) naming `name` when the header is malformed or claims more than `size` bytes hold.
// data must start with the "CDF" magic and version 1 or 2.
void CheckNetcdfClassicHeader(const unsigned char* data, std::size_t size, const std::string& name);

} // namespace corvelin
