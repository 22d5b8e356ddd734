#pragma once

// A file call tried again for a while when something else holds the file:
// a virus scanner or the indexer opens a file just written, for a moment.
#include "platform/win32_api.h"

#include <algorithm>

namespace vidorun {

template <typename Call>
bool patiently(Call call)
{
    DWORD wait = 10;
    for (int attempt = 0;; ++attempt) {
        if (call())
            return true;
        const DWORD error = ::GetLastError();
        const bool heldUp = error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED
                            || error == ERROR_LOCK_VIOLATION;
        if (!heldUp || attempt >= 10) {
            ::SetLastError(error);
            return false;
        }
        ::Sleep(wait);
        wait = std::min<DWORD>(wait * 2, 400);
    }
}

}  // namespace vidorun
