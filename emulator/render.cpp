#include "emulator/render.h"

#include <cstddef>
#include <cstdio>
#include <utility>

#include "emulator/cp1250.h"
#include "host/ids.h"
#include "settings/control_params.h"

namespace brisko::emu {
namespace {

using page::ElementKind;

std::string utf8(const std::string& cp1250) { return cp1250ToUtf8(cp1250); }

std::string hex(std::uint32_t v) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%08X", static_cast<unsigned>(v));
  return buffer;
}

std::string quoted(const std::string& cp1250) {
  std::string out = "\"";
  for (char c : utf8(cp1250)) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (u < 0x20) {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\x%02X", u);
      out += buffer;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

// Removes the rich-text tags the host knows, turning "<br/>" into line feeds.
std::string plainText(const std::string& rich) {
  std::string out;
  for (std::size_t i = 0; i < rich.size();) {
    if (rich.compare(i, 5, "<br/>") == 0) {
      out += '\n';
      i += 5;
    } else if (rich.compare(i, 3, "<b>") == 0) {
      i += 3;
    } else if (rich.compare(i, 4, "</b>") == 0) {
      i += 4;
    } else {
      out += rich[i++];
    }
  }
  return out;
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (char c : text) {
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
    } else if (c != '\r') {
      line += c;
    }
  }
  lines.push_back(line);
  return lines;
}

// Wraps UTF-8 text at blanks so that lines stay near `width` characters.
std::vector<std::string> wrap(const std::string& text, std::size_t width) {
  std::vector<std::string> lines;
  std::string line;
  std::size_t lineChars = 0;
  std::string word;
  std::size_t wordChars = 0;
  const auto flushWord = [&] {
    if (word.empty()) return;
    if (lineChars > 0 && lineChars + 1 + wordChars > width) {
      lines.push_back(line);
      line.clear();
      lineChars = 0;
    }
    if (lineChars > 0) {
      line += ' ';
      ++lineChars;
    }
    line += word;
    lineChars += wordChars;
    word.clear();
    wordChars = 0;
  };
  for (char c : text) {
    if (c == ' ') {
      flushWord();
    } else {
      word += c;
      if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++wordChars;
    }
  }
  flushWord();
  if (!line.empty() || lines.empty()) lines.push_back(line);
  return lines;
}

std::size_t displayWidth(const std::string& s) {
  std::size_t n = 0;
  for (char c : s) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  }
  return n;
}

template <typename T>
bool readRecord(const std::vector<std::uint8_t>& bytes, T* out, std::size_t need) {
  if (bytes.size() < need) return false;
  *out = recordFrom<T>(bytes.data(), bytes.size());
  return true;
}

const char* messageName(std::uint32_t id, const std::vector<std::uint8_t>& record) {
  static constexpr std::pair<std::uint32_t, const char*> kNames[] = {
      {msg::kInsertAction, "InsertAction"},
      {msg::kCallAction, "CallAction"},
      {msg::kGetActionValue, "GetActionValue"},
      {msg::kSetActionValue, "SetActionValue"},
      {msg::kGetActionHandle, "GetActionHandle"},
      {msg::kRegisterIcon, "RegisterIcon"},
      {msg::kGetContactCount, "GetContactCount"},
      {msg::kRegisterConfigColumn, "RegisterConfigColumn"},
      {msg::kGetPluginValue, "GetPluginValue"},
      {msg::kValueToText, "ValueToText"},
      {msg::kDisplayNameQuery, "display name"},
      {msg::kVersionQuery, "version"},
      {msg::kNameQuery, "name"}};
  if (id == msg::kSetAction) {
    ActionInfo info{};
    readRecord(record, &info, offsetof(ActionInfo, mask) + sizeof info.mask);
    return (info.mask & mask::kStatus) != 0 ? "SetActionStatus" : "SetActionText";
  }
  for (const auto& [known, name] : kNames) {
    if (known == id) return name;
  }
  return "message";
}

// An action id as the log shows it: page controls by their number.
std::string actionId(std::uint32_t id) {
  if (isConfigControl(id)) {
    return "control " + std::to_string(controlNumber(id));
  }
  return std::to_string(id);
}

}  // namespace

std::vector<std::string> richTextLines(const std::string& rich) {
  return splitLines(plainText(rich));
}

// --- menus ----------------------------------------------------------------------------------

std::string renderContactMenu(const ContactMenu& menu, const std::string& indent) {
  std::string out;
  if (menu.submenuShown) {
    out += indent + "Linki >\n";
    if (menu.items.empty()) out += indent + "    (empty)\n";
    for (std::size_t i = 0; i < menu.items.size(); ++i) {
      char number[16];
      std::snprintf(number, sizeof number, "%2u. ", static_cast<unsigned>(i + 1));
      out += indent + "  " + number + utf8(menu.items[i]) + "\n";
    }
  }
  if (menu.singleShown) out += indent + utf8(menu.singleText) + "\n";
  if (!menu.submenuShown && !menu.singleShown) out += indent + "(no link entries)\n";
  return out;
}

std::string renderChatButton(const ChatButton& button) {
  if (!button.shown) return "(no link button)";
  return "[Link: " + utf8(button.text) + "]";
}

// --- configuration page -----------------------------------------------------------------------

namespace {

// Lays the page's elements out line by line: groups framed and indented,
// elements that follow one with the same-line bit on its line, wrapped texts
// and tips on the lines below.
class PageLayout {
 public:
  explicit PageLayout(std::string& out) : out_(out) {}

  void add(const HostAction& a) {
    const ElementKind kind = a.kind();
    const ControlText caption = splitControlText(a.caption);
    const std::string visible = utf8(caption.visible);
    switch (kind) {
      case ElementKind::GroupStart:
        endLine();
        out_ += prefix() + (visible.empty() ? std::string("+--") : "+-- " + visible + " --") + "\n";
        ++depth_;
        return;
      case ElementKind::GroupEnd:
        endLine();
        if (depth_ == 0) return;  // an end without a start closes nothing
        --depth_;
        out_ += prefix() + "+--\n";
        return;
      case ElementKind::LineBreak:
        endLine();
        return;
      default:
        break;
    }
    if (!lineOpen_) endLine();
    const std::string shown = piece(a, caption, visible);
    if (!shown.empty()) {
      if (!line_.empty() && line_.back() != ' ') line_ += ' ';
      line_ += shown;
    }
    if (a.disabled()) line_ += " (inactive)";

    const std::string tip = caption.param("tip");
    if (!tip.empty()) addTip("tip", utf8(tip));
    const std::string rich = caption.param("tipRich");
    if (!rich.empty()) addTip("tip", utf8(plainText(rich)));

    lineOpen_ = (a.insertedStatus & page::kSameLine) != 0;
    if (!lineOpen_) endLine();
  }

  void endLine() {
    if (!line_.empty()) put(prefix() + line_);
    for (const std::string& m : more_) put(prefix() + m);
    for (const std::string& tip : tips_) put(prefix() + "    " + tip);
    line_.clear();
    more_.clear();
    tips_.clear();
    lineOpen_ = false;
  }

 private:
  // What one element shows on its line.
  std::string piece(const HostAction& a, const ControlText& caption, const std::string& visible) {
    switch (a.kind()) {
      case ElementKind::CheckBox:
        return std::string(!a.text.empty() && a.text[0] == '1' ? "[x] " : "[ ] ") + visible;
      case ElementKind::Radio:
        return std::string(a.text == "0" ? "(o) " : "( ) ") + visible;
      case ElementKind::TextField: {
        std::string value = utf8(a.text);
        const std::size_t width = a.width > 0 ? a.width / 8u : 12u;
        while (displayWidth(value) < width) value += ' ';
        return "[" + value + "]";
      }
      case ElementKind::Button:
        return "<" + visible + ">";
      case ElementKind::Label:
        // An empty label only takes room: an indent.
        return visible.empty() ? std::string(a.width > 0 ? a.width / 5u : 2u, ' ') : visible;
      case ElementKind::Explanation:
      case ElementKind::Formatted: {
        // Wrapped; the lines after the first line up under the first.
        const std::vector<std::string> lines = wrap(utf8(plainText(caption.visible)), 60);
        const std::size_t column = displayWidth(line_) + (line_.empty() ? 0 : 1);
        for (std::size_t i = 1; i < lines.size(); ++i) {
          more_.push_back(std::string(column, ' ') + lines[i]);
        }
        return lines.front();
      }
      case ElementKind::Image:
        return "[i]";
      default:
        return visible;
    }
  }

  void addTip(const std::string& title, const std::string& body) {
    const std::vector<std::string> lines = splitLines(body);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      tips_.push_back((i == 0 ? title + ": " : std::string(title.size() + 2, ' ')) + lines[i]);
    }
  }

  std::string prefix() const {
    std::string p;
    for (int i = 0; i < depth_; ++i) p += "| ";
    return p;
  }

  void put(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    out_ += text + "\n";
  }

  std::string& out_;
  int depth_ = 0;
  std::string line_;               // the line being laid out
  bool lineOpen_ = false;          // the previous element asked to stay on this line
  std::vector<std::string> more_;  // further lines of a wrapped text on this line
  std::vector<std::string> tips_;
};

}  // namespace

std::string renderConfigPage(const std::vector<HostAction>& actions) {
  const HostAction* page = nullptr;
  for (const HostAction& a : actions) {
    if (a.id == action::kConfigPage && a.parent == group::kConfigPages) page = &a;
  }
  if (page == nullptr) return "(no configuration page)\n";
  std::string out = "=== " + utf8(splitControlText(page->caption).visible) + " ===\n";
  PageLayout layout(out);
  for (const HostAction& a : actions) {
    if (a.parent == action::kConfigPage) layout.add(a);
  }
  layout.endLine();
  return out;
}

// --- calls ------------------------------------------------------------------------------------

std::string renderCall(const HostCall& call) {
  std::string out;
  switch (call.op) {
    case HostCall::Op::GetPluginId:
      return "GetPluginId -> " + std::to_string(call.result);
    case HostCall::Op::GetPluginInstance:
      return "GetPluginInstance -> " + hex(static_cast<std::uint32_t>(call.result));
    case HostCall::Op::GetHostState:
      return "GetHostState -> " + std::to_string(call.result);
    case HostCall::Op::SetError:
      return "SetError code " +
             (call.args.empty() ? std::string("?") : std::to_string(call.args[0]));
    case HostCall::Op::GetRowId:
      return "GetRowId table " + std::to_string(call.args.at(0)) + " index " +
             std::to_string(call.args.at(1)) + " -> " + std::to_string(call.result);
    case HostCall::Op::GetValue: {
      out = "GetValue table " + std::to_string(call.args.at(0)) + " row " +
            std::to_string(call.args.at(1)) + " column " + std::to_string(call.args.at(2)) +
            " type " + std::to_string(call.args.at(3));
      if (call.args.at(3) == 1) {
        out += call.result != 0 ? " -> " + quoted(call.text) : std::string(" -> (no text)");
      }
      return out;
    }
    case HostCall::Op::SendToPlugin:
      out = "SendToPlugin " +
            (call.args.empty() ? std::string("?") : std::to_string(call.args[0])) + " message " +
            std::to_string(call.messageId) + " (" + messageName(call.messageId, call.record) + ")";
      if (!call.text.empty()) return out + " -> " + quoted(call.text);
      return out + " -> " + std::to_string(call.result);
    case HostCall::Op::SendToHost:
      break;
  }

  out = "SendToHost " + std::to_string(call.messageId) + " " +
        messageName(call.messageId, call.record);
  switch (call.messageId) {
    case msg::kInsertAction: {
      ActionInfo info;
      if (!readRecord(call.record, &info, kActionInfoSize)) break;
      out += " id " + actionId(info.id) + " parent " + std::to_string(info.parent) + " position " +
             std::to_string(info.position) + " status " + hex(info.status) + " param " +
             std::to_string(info.param);
      if (info.width != 0 || info.height != 0) {
        out += " size " + std::to_string(info.width) + "x" + std::to_string(info.height);
      }
      out += " " + quoted(call.text) + " (" + std::to_string(call.record.size()) + " bytes)";
      break;
    }
    case msg::kGetActionValue:
    case msg::kSetAction:
    case msg::kSetActionValue: {
      ActionInfo info;
      if (!readRecord(call.record, &info, kActionInfoSize)) break;
      out += " id " + actionId(info.id) + " parent " + std::to_string(info.parent) + " cnt " +
             std::to_string(info.cnt);
      if ((info.mask & mask::kStatus) != 0 && call.messageId == msg::kSetAction) {
        out += " status " + hex(info.status) + " mask " + hex(info.statusMask);
      }
      if ((info.mask & mask::kText) != 0) {
        if (call.messageId == msg::kGetActionValue) {
          out += call.result != 0 ? " -> " + quoted(call.text) : std::string(" -> (no text)");
        } else {
          out += " " + quoted(call.text);
        }
        if ((info.mask & 0x10000u) != 0) out += " [flag]";
      }
      break;
    }
    case msg::kCallAction: {
      ActionNotify n;
      if (!readRecord(call.record, &n, kActionNotifySize)) break;
      out += " id " + actionId(n.id) + " parent " + std::to_string(n.parent) + " cnt " +
             std::to_string(n.cnt) + " code " + std::to_string(n.code) + " p2 " +
             std::to_string(n.p2);
      if (n.p2 == notify::kStatusTextMarker) out += " text " + quoted(call.text);
      break;
    }
    case msg::kGetActionHandle: {
      ActionRef ref;
      if (!readRecord(call.record, &ref, kActionRefSize)) break;
      out += " id " + actionId(ref.id) + " parent " + std::to_string(ref.parent) + " cnt " +
             std::to_string(ref.cnt) + " -> " + (call.result != 0 ? "exists" : "0");
      break;
    }
    case msg::kRegisterIcon: {
      IconRecord icon;
      if (!readRecord(call.record, &icon, kIconRecordSize)) break;
      out += " icon " + std::to_string(icon.iconId) + " kind " + std::to_string(icon.iconKind) +
             " module " + hex(icon.module) + " resource " + std::to_string(icon.resourceId);
      break;
    }
    case msg::kRegisterConfigColumn: {
      ConfigColumnRecord r;
      if (!readRecord(call.record, &r, kConfigColumnRecordSize)) break;
      out += " column " + std::to_string(r.columnId) + " " +
             (r.columnType == 0 ? "integer default " + std::to_string(r.defaultValue)
                                : "text default " + quoted(call.defaultText)) +
             " key " + quoted(call.text);
      break;
    }
    case msg::kGetContactCount:
    case msg::kGetPluginValue:
      out += " -> " + std::to_string(call.result);
      break;
    case msg::kValueToText:
      out += " -> " + quoted(call.text);
      break;
    default:
      out += " -> " + std::to_string(call.result);
      break;
  }
  return out;
}

std::string renderCalls(const std::vector<HostCall>& calls) {
  std::string out;
  for (std::size_t i = 0; i < calls.size(); ++i) {
    char number[16];
    std::snprintf(number, sizeof number, "%4u  ", static_cast<unsigned>(i + 1));
    out += number + renderCall(calls[i]) + "\n";
  }
  return out;
}

}  // namespace brisko::emu
