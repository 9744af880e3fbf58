// The names through which the smoke exe and the tool tivlo_objcounts exchange object counts.
#pragma once

namespace smoke {
inline constexpr const char* kCountsRequest = "TivloSmokeCounts.Request";
inline constexpr const char* kCountsDone = "TivloSmokeCounts.Done";
inline constexpr const char* kCountsText = "TivloSmokeCounts.Text";
inline constexpr unsigned kCountsSize = 256;
}  // namespace smoke
