// Note files: any content decrypts under any key without a fault, and the text it gives
// is saved and opened again unchanged; a plaintext parses to its units up to the first
// zero one; every plaintext a save builds has the layout that opening requires.
#include "fuzz_support.h"

#include "app/note_cipher.h"

#include <algorithm>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    NoteKey key = {};
    const std::size_t key_bytes = std::min(size, key.size());
    std::copy(data, data + key_bytes, key.begin());
    const std::vector<std::uint8_t> file(data + key_bytes, data + size);

    std::u16string text;
    if (note_decrypt_text(key, file, text)) {
        FUZZ_CHECK(text.find(u'\0') == std::u16string::npos);
        FUZZ_CHECK(2 * text.size() <= file.size());
        std::vector<std::uint8_t> saved;
        FUZZ_CHECK(note_encrypt_text(key, text, saved) == NoteEncryptResult::OK);
        std::u16string opened;
        FUZZ_CHECK(note_decrypt_text(key, saved, opened) && opened == text);
    }

    const std::u16string parsed = note_parse_plaintext(file.data(), file.size());
    const std::u16string units = fuzz_units(file.data(), file.size());
    FUZZ_CHECK(parsed == units.substr(0, units.find(u'\0')));

    SecretBytes built;
    if (note_build_plaintext(parsed, built)) {
        FUZZ_CHECK(note_plaintext_has_layout(built.data, built.size));
        FUZZ_CHECK(note_parse_plaintext(built.data, built.size) == parsed);
    }
    note_plaintext_has_layout(file.data(), file.size());
    return 0;
}
