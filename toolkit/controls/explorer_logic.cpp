#include "toolkit/controls/explorer_logic.h"

#include "services/text_case.h"

#include <algorithm>

namespace {

bool has_wildcard(std::u16string_view part)
{
    return part.find_first_of(u"*?;") != std::u16string_view::npos;
}

std::vector<std::u16string> split_patterns(std::u16string_view text)
{
    std::vector<std::u16string> patterns;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = std::min(text.find(u';', start), text.size());
        if (end > start)
            patterns.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return patterns;
}

int compare_names(const ExplorerEntry& a, const ExplorerEntry& b)
{
    if (text_less_ascii(a.name, b.name))
        return -1;
    return text_less_ascii(b.name, a.name) ? 1 : 0;
}

int compare_by(const ExplorerEntry& a, const ExplorerEntry& b, ExplorerColumn column)
{
    switch (column) {
    case EXPLORER_BY_SIZE: return a.size < b.size ? -1 : a.size > b.size ? 1 : 0;
    case EXPLORER_BY_DATE: return a.changed < b.changed ? -1 : a.changed > b.changed ? 1 : 0;
    case EXPLORER_BY_TYPE:
        if (text_less_ascii(a.type, b.type))
            return -1;
        return text_less_ascii(b.type, a.type) ? 1 : 0;
    default: return 0;
    }
}

bool is_dot_name(std::u16string_view name)
{
    return name == u"." || name == u"..";
}

}  // namespace

ExplorerPath explorer_split_path(std::u16string_view text)
{
    std::u16string path(text);
    std::replace(path.begin(), path.end(), u'/', u'\\');
    ExplorerPath result;
    std::size_t slash = path.rfind(u'\\');
    std::size_t last_start = slash == std::u16string::npos ? 0 : slash + 1;
    if (has_wildcard(std::u16string_view(path).substr(last_start))) {
        result.patterns = split_patterns(std::u16string_view(path).substr(last_start));
        path.resize(last_start);
    }
    if (!path.empty() && path.back() != u'\\')
        path += u'\\';
    result.folder = path;
    return result;
}

bool explorer_name_matches(std::u16string_view name, std::u16string_view pattern)
{
    // Greedy match with one back-tracking point, the last '*' seen.
    std::size_t n = 0, p = 0, star = std::u16string_view::npos, star_n = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            star = p++;
            star_n = n;
        } else if (p < pattern.size()
                   && (pattern[p] == u'?' || text_fold_ascii(pattern[p]) == text_fold_ascii(name[n]))) {
            ++p;
            ++n;
        } else if (star != std::u16string_view::npos) {
            p = star + 1;
            n = ++star_n;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

bool explorer_matches_any(std::u16string_view name, const std::vector<std::u16string>& patterns)
{
    if (patterns.empty())
        return true;
    return std::any_of(patterns.begin(), patterns.end(),
                       [name](const std::u16string& pattern) { return explorer_name_matches(name, pattern); });
}

std::u16string explorer_parent(std::u16string_view folder)
{
    if (folder.size() < 2)
        return {};
    std::size_t slash = folder.rfind(u'\\', folder.size() - 2);
    if (slash == std::u16string_view::npos)
        return {};
    return std::u16string(folder.substr(0, slash + 1));
}

void explorer_choose_rows(std::vector<ExplorerEntry>* entries, const std::vector<std::u16string>& patterns,
                          std::uint32_t flags, ExplorerOrder order)
{
    std::erase_if(*entries, [&](const ExplorerEntry& entry) {
        if (is_dot_name(entry.name))
            return true;
        if (entry.folder)
            return (flags & GK_Explorer_NoFolders) != 0;
        return (flags & GK_Explorer_NoFiles) || !explorer_matches_any(entry.name, patterns);
    });
    if (flags & GK_Explorer_NoSort)
        return;
    std::stable_sort(entries->begin(), entries->end(), [order](const ExplorerEntry& a, const ExplorerEntry& b) {
        if (a.folder != b.folder)
            return a.folder;
        int by = compare_by(a, b, order.column);
        if (by == 0)
            by = compare_names(a, b);
        return order.descending ? by > 0 : by < 0;
    });
}

bool explorer_shows_parent_row(std::u16string_view folder, std::uint32_t flags)
{
    if (flags & (GK_Explorer_NoParentFolder | GK_Explorer_NoDirectoryChange))
        return false;
    return !explorer_parent(folder).empty();
}

bool explorer_refresh_due(std::uint32_t first_ms, std::uint32_t last_ms, std::uint32_t now_ms)
{
    return now_ms - last_ms >= EXPLORER_QUIET_MS || now_ms - first_ms >= EXPLORER_LONGEST_DELAY_MS;
}

std::u16string explorer_size_text(std::uint64_t size)
{
    std::uint64_t kilobytes = size / 1024 + (size % 1024 != 0);
    std::u16string digits;
    int count = 0;
    do {
        if (count > 0 && count % 3 == 0)
            digits.insert(digits.begin(), u',');
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + kilobytes % 10));
        kilobytes /= 10;
        ++count;
    } while (kilobytes > 0);
    return digits + u" KB";
}
