#include "platform/linux/KdeConfigFile.h"

#include "common/FileIo.h"

namespace vexlo {
namespace {

std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A group name as written in a header: "\\", "\s", "\t", "\n", "\r" and "\xNN" stand for what
// they escape.
std::string Unescape(std::string_view raw) {
  std::string name;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] != '\\' || i + 1 == raw.size()) {
      name += raw[i];
      continue;
    }
    const char code = raw[++i];
    if (code == 'x' && i + 2 < raw.size() && HexDigit(raw[i + 1]) >= 0 &&
        HexDigit(raw[i + 2]) >= 0) {
      name += static_cast<char>(HexDigit(raw[i + 1]) * 16 + HexDigit(raw[i + 2]));
      i += 2;
    } else {
      name += code == 's'   ? ' '
              : code == 't' ? '\t'
              : code == 'n' ? '\n'
              : code == 'r' ? '\r'
                            : code;
    }
  }
  return name;
}

std::string Escape(std::string_view name) {
  std::string raw;
  for (const char c : name) {
    switch (c) {
      case '\\':
        raw += "\\\\";
        break;
      case '[':
        raw += "\\x5b";
        break;
      case ']':
        raw += "\\x5d";
        break;
      case '\t':
        raw += "\\t";
        break;
      case '\n':
        raw += "\\n";
        break;
      case '\r':
        raw += "\\r";
        break;
      default:
        raw += c;
        break;
    }
  }
  return raw;
}

// The group that a header line opens, or none when the line is no header. Options such as
// "[$i]" after the names are no part of the group.
std::optional<KdeConfigFile::Group> HeaderGroup(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  KdeConfigFile::Group group;
  while (!line.empty() && line.front() == '[') {
    const std::size_t close = line.find(']');
    if (close == std::string_view::npos) break;
    const std::string_view raw = line.substr(1, close - 1);
    line.remove_prefix(close + 1);
    if (!raw.empty() && raw.front() == '$') continue;
    group.push_back(Unescape(raw));
  }
  return group;
}

// The key of a "key=value" line, or none for headers, comments and other text.
std::optional<std::string_view> LineKey(std::string_view line) {
  const std::string_view trimmed = Trim(line);
  if (trimmed.empty() || trimmed.front() == '[' || trimmed.front() == '#') return std::nullopt;
  const std::size_t equals = trimmed.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return Trim(trimmed.substr(0, equals));
}

bool HasLineBreak(std::string_view s) {
  return s.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace

KdeConfigFile KdeConfigFile::Parse(std::string_view text) {
  KdeConfigFile file;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    file.lines_.emplace_back(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  return file;
}

Result KdeConfigFile::Load(const std::filesystem::path& path) {
  std::string bytes;
  const Result read = ReadFileBytes(path, bytes, kMaxIniFileBytes);
  *this = Parse(bytes);
  return read;
}

std::optional<std::size_t> KdeConfigFile::FindLine(const Group& group, std::string_view key) const {
  Group current;  // keys before the first header lie in no group
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (std::optional<Group> opened = HeaderGroup(lines_[i])) {
      current = std::move(*opened);
    } else if (current == group && LineKey(lines_[i]) == key) {
      return i;
    }
  }
  return std::nullopt;
}

std::optional<std::string> KdeConfigFile::Find(const Group& group, std::string_view key) const {
  const std::optional<std::size_t> at = FindLine(group, key);
  if (!at) return std::nullopt;
  const std::string_view line = lines_[*at];
  return std::string(Trim(line.substr(line.find('=') + 1)));
}

Result KdeConfigFile::Set(const Group& group, std::string_view key, std::string_view value) {
  if (group.empty() || Trim(key).size() != key.size() || key.empty() ||
      key.find('=') != std::string_view::npos || key.front() == '[' || key.front() == '#' ||
      HasLineBreak(key) || HasLineBreak(value)) {
    return Result::InvalidParameter;
  }
  for (const std::string& name : group) {
    if (name.empty()) return Result::InvalidParameter;
  }
  const std::string line = std::string(key) + '=' + std::string(value);
  if (const std::optional<std::size_t> at = FindLine(group, key)) {
    lines_[*at] = line;
    return Result::Ok;
  }
  // After the last key of the group, so that the blank line before the next group stays there.
  std::optional<std::size_t> last;
  Group current;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (std::optional<Group> opened = HeaderGroup(lines_[i])) {
      current = std::move(*opened);
      if (current == group) last = i;
    } else if (current == group && LineKey(lines_[i])) {
      last = i;
    }
  }
  if (last) {
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*last + 1), line);
    return Result::Ok;
  }
  if (!lines_.empty() && !Trim(lines_.back()).empty()) lines_.emplace_back();
  std::string header;
  for (const std::string& name : group) header += '[' + Escape(name) + ']';
  lines_.push_back(std::move(header));
  lines_.push_back(line);
  return Result::Ok;
}

void KdeConfigFile::Remove(const Group& group, std::string_view key) {
  const std::optional<std::size_t> at = FindLine(group, key);
  if (!at) return;
  const auto line = [this](std::size_t i) {
    return lines_.begin() + static_cast<std::ptrdiff_t>(i);
  };
  lines_.erase(line(*at));
  // A group left without keys goes with its header, as KDE writes no empty group.
  std::size_t header = *at;
  while (header > 0 && !HeaderGroup(lines_[header - 1])) --header;
  if (header == 0) return;  // the keys before the first group
  --header;
  std::size_t end = header + 1;
  for (; end < lines_.size() && !HeaderGroup(lines_[end]); ++end) {
    if (!Trim(lines_[end]).empty()) return;
  }
  lines_.erase(line(header), line(end));
  // At the end of the file, the blank line that set it apart goes too.
  if (header > 0 && header == lines_.size() && Trim(lines_[header - 1]).empty()) {
    lines_.erase(line(header - 1));
  }
}

std::string KdeConfigFile::Serialize() const {
  std::string text;
  for (const std::string& line : lines_) text += line + '\n';
  return text;
}

Result KdeConfigFile::Save(const std::filesystem::path& path) const {
  return ReplaceFileContents(path, Serialize());
}

}  // namespace vexlo
