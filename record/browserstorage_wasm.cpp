// The record in the browser's localStorage, which survives a reload and a
// restart of the browser and is shared by every tab of the page's site.
#include "browserkeeper.h"

#include <emscripten.h>

#include <vector>

namespace quorvela {

namespace {

// Reading or writing localStorage throws where the browser blocks site data.
// clang-format off
EM_JS(int, quorvela_stored_length, (), {
    try {
        const v = window.localStorage.getItem('quorvela.record');
        return v === null ? 0 : lengthBytesUTF8(v);
    } catch (e) {
        return -1;
    }
});

EM_JS(int, quorvela_stored_copy, (char *buffer, int size), {
    try {
        const v = window.localStorage.getItem('quorvela.record');
        return v === null ? 0 : stringToUTF8(v, buffer, size);
    } catch (e) {
        return -1;
    }
});

EM_JS(int, quorvela_store, (const char *bytes), {
    try {
        window.localStorage.setItem('quorvela.record', UTF8ToString(bytes));
        return 1;
    } catch (e) {
        return 0;
    }
});
// clang-format on

class LocalStorage final : public RecordStorage {
public:
    std::optional<std::string> read() override
    {
        const int length = quorvela_stored_length();
        if (length < 0)
            return std::nullopt;
        std::vector<char> buffer(std::size_t(length) + 1);
        const int copied = quorvela_stored_copy(buffer.data(), int(buffer.size()));
        if (copied < 0)
            return std::nullopt;
        return std::string(buffer.data(), std::size_t(copied));
    }
    bool write(const std::string &bytes) override { return quorvela_store(bytes.c_str()) == 1; }
};

} // namespace

RecordStorage &siteStorage()
{
    static LocalStorage storage;
    return storage;
}

} // namespace quorvela
