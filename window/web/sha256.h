#pragma once

// SHA-256 (FIPS 180-4), for the page's Content-Security-Policy hashes and
// the service worker's cache name.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace web {

std::array<std::uint8_t, 32> sha256(std::string_view bytes);

// Base64 with padding (RFC 4648), as CSP hashes and data: URIs take it.
std::string base64(std::string_view bytes);
std::string base64(const std::array<std::uint8_t, 32>& digest);

}  // namespace web
