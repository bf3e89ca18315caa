#pragma once
// Headless models of the window controls. The logic reads and writes these; the Qt binding mirrors each model
// into its widget and forwards the widget's events to the controller. Every change of a model notifies its
// listeners so that the widget follows.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/collation.h"

namespace pnl {

class Control {
  public:
    using Listener = std::function<void()>;

    virtual ~Control() = default;

    bool enabled() const { return enabled_; }
    void setEnabled(bool on) { assign(enabled_, on); }
    bool visible() const { return visible_; }
    void setVisible(bool on) { assign(visible_, on); }
    const std::string& tip() const { return tip_; }
    void setTip(std::string tip) { assign(tip_, std::move(tip)); }
    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption) { assign(caption_, std::move(caption)); }

    // The binder subscribes here; returns a handle for unsubscribe().
    int subscribe(Listener listener) {
        listeners_.emplace_back(++lastHandle_, std::move(listener));
        return lastHandle_;
    }
    void unsubscribe(int handle) {
        std::erase_if(listeners_, [handle](const auto& entry) { return entry.first == handle; });
    }

  protected:
    void changed() {
        auto copy = listeners_;  // a listener may unsubscribe while being called
        for (auto& entry : copy)
            entry.second();
    }
    template <typename T>
    void assign(T& field, T value) {
        if (field == value)
            return;
        field = std::move(value);
        changed();
    }

  private:
    bool enabled_ = true;
    bool visible_ = true;
    std::string tip_;
    std::string caption_;
    std::vector<std::pair<int, Listener>> listeners_;
    int lastHandle_ = 0;
};

using Label = Control;
using Button = Control;
using MenuItem = Control;
using Frame = Control;

class TextBox : public Control {
  public:
    const std::string& text() const { return text_; }
    void setText(std::string text) { assign(text_, std::move(text)); }
    int selStart() const { return selStart_; }
    void setSelStart(int position) { assign(selStart_, position); }
    // The most characters the user can type; 0: no limit of the field's own.
    int maxLength() const { return maxLength_; }
    void setMaxLength(int characters) { assign(maxLength_, characters); }

  private:
    std::string text_;
    int selStart_ = 0;
    int maxLength_ = 0;
};

// A masked entry field: a fixed number of positions, each a digit or a letter-or-digit, with the prompt "_".
// text() gives only the characters typed; assigning the all-prompt text empties the field.
class MaskedField : public Control {
  public:
    enum class Kind { Digits, LettersAndDigits };
    static constexpr char kPrompt = '_';

    MaskedField(int positions = 6, Kind kind = Kind::Digits) : positions_(positions), kind_(kind) {}

    int positions() const { return positions_; }
    Kind kind() const { return kind_; }
    const std::string& text() const { return typed_; }
    // The field as shown: the typed characters followed by prompts.
    std::string displayText() const { return typed_ + std::string(positions_ - typed_.size(), kPrompt); }
    int selStart() const { return selStart_; }
    void setSelStart(int position) { assign(selStart_, position); }

    // Accepts the text when it fits the mask (prompt characters count as empty positions); otherwise the
    // field refuses it, stays as it was and the result is false.
    bool setText(const std::string& text) {
        if (static_cast<int>(text.size()) > positions_)
            return false;
        std::string typed;
        for (char c : text) {
            if (c == kPrompt)
                continue;
            if (!fits(c))
                return false;
            typed += c;
        }
        assign(typed_, typed);
        return true;
    }
    void clear() { assign(typed_, std::string()); }
    bool empty() const { return typed_.empty(); }

    bool fits(char c) const {
        const bool digit = c >= '0' && c <= '9';
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        return kind_ == Kind::Digits ? digit : (digit || letter);
    }

  private:
    int positions_;
    Kind kind_;
    std::string typed_;
    int selStart_ = 0;
};

class CheckBox : public Control {
  public:
    bool checked() const { return checked_; }
    void setChecked(bool on) { assign(checked_, on); }

  private:
    bool checked_ = false;
};

class OptionButton;

// Option buttons of one container: checking one unchecks the others.
class OptionGroup {
  public:
    void add(OptionButton& option) { members_.push_back(&option); }
    const std::vector<OptionButton*>& members() const { return members_; }

  private:
    std::vector<OptionButton*> members_;
};

class OptionButton : public Control {
  public:
    void joinGroup(OptionGroup& group) {
        group_ = &group;
        group.add(*this);
    }
    bool checked() const { return checked_; }
    void setChecked(bool on) {
        if (on && group_) {
            for (OptionButton* other : group_->members())
                if (other != this)
                    other->assign(other->checked_, false);
        }
        assign(checked_, on);
    }

  private:
    bool checked_ = false;
    OptionGroup* group_ = nullptr;
};

// A drop-down list without free typing; each entry carries a 32-bit item data. A sorted list keeps its
// entries in the order of platform/collation.h (German dictionary order; digits sort as digits, so
// zero-padded numbers sort by value).
class ComboBox : public Control {
  public:
    struct Item {
        std::string text;
        std::int32_t data = 0;
        bool operator==(const Item&) const = default;
    };

    explicit ComboBox(bool sorted = false) : sorted_(sorted) {}

    bool sorted() const { return sorted_; }
    const std::vector<Item>& items() const { return items_; }
    int count() const { return static_cast<int>(items_.size()); }
    int listIndex() const { return index_; }
    // The text of the chosen entry, empty when none is chosen.
    std::string text() const { return index_ >= 0 ? items_[index_].text : std::string(); }
    std::int32_t itemData(int index) const { return items_.at(index).data; }

    // Returns the index the entry took.
    int addItem(std::string text, std::int32_t data = 0) {
        Item item{std::move(text), data};
        auto at = items_.end();
        if (sorted_) {
            const CollationKey key = collationKey(item.text);
            at = items_.begin();
            while (at != items_.end() && !(key < collationKey(at->text)))
                ++at;
        }
        const int position = static_cast<int>(at - items_.begin());
        items_.insert(at, std::move(item));
        if (index_ >= position)
            ++index_;
        changed();
        return position;
    }
    void removeItem(int index) {
        items_.erase(items_.begin() + index);
        if (index_ == index)
            index_ = -1;
        else if (index_ > index)
            --index_;
        changed();
    }
    void clear() {
        if (items_.empty() && index_ == -1)
            return;
        items_.clear();
        index_ = -1;
        changed();
    }
    // Replaces every entry at once with one notification, no entry chosen; a sorted list orders them as
    // addItem would (entries with equal texts keep their order). Filling thousands of entries one by one is
    // quadratic.
    // `inOrder`: the caller gives the entries in that order already (it sorted them for a list of its own).
    void setItems(std::vector<Item> items, bool inOrder = false) {
        if (sorted_ && !inOrder) {
            std::vector<std::pair<CollationKey, Item>> keyed;
            keyed.reserve(items.size());
            for (Item& item : items)
                keyed.emplace_back(collationKey(item.text), std::move(item));
            std::stable_sort(keyed.begin(), keyed.end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; });
            for (std::size_t i = 0; i < keyed.size(); ++i)
                items[i] = std::move(keyed[i].second);
        }
        items_ = std::move(items);
        index_ = -1;
        changed();
    }
    // -1 chooses no entry.
    void setListIndex(int index) { assign(index_, (index >= 0 && index < count()) ? index : -1); }
    int findData(std::int32_t data) const {
        for (int i = 0; i < count(); ++i)
            if (items_[i].data == data)
                return i;
        return -1;
    }
    int findText(const std::string& text) const {
        for (int i = 0; i < count(); ++i)
            if (items_[i].text == text)
                return i;
        return -1;
    }

  private:
    bool sorted_;
    std::vector<Item> items_;
    int index_ = -1;
};

class TabControl : public Control {
  public:
    struct Tab {
        std::string caption;
        bool visible = true;
        bool enabled = true;
        bool operator==(const Tab&) const = default;
    };

    explicit TabControl(std::vector<std::string> captions = {}) {
        for (auto& caption : captions)
            tabs_.push_back(Tab{std::move(caption)});
    }
    const std::vector<Tab>& tabs() const { return tabs_; }
    int tab() const { return current_; }
    void setTab(int index) { assign(current_, index); }
    void setTabVisible(int index, bool on) { assign(tabs_.at(index).visible, on); }
    void setTabEnabled(int index, bool on) { assign(tabs_.at(index).enabled, on); }
    void setTabCaption(int index, std::string caption) {
        assign(tabs_.at(index).caption, std::move(caption));
    }

  private:
    std::vector<Tab> tabs_;
    int current_ = 0;
};

// A tree whose nodes carry a check box; the program only uses top-level nodes.
class CheckTree : public Control {
  public:
    struct Node {
        std::string key;
        std::string text;
        bool checked = false;
        bool operator==(const Node&) const = default;
    };

    const std::vector<Node>& nodes() const { return nodes_; }
    int count() const { return static_cast<int>(nodes_.size()); }
    const Node& node(int index) const { return nodes_.at(index); }
    void addNode(std::string key, std::string text) {
        nodes_.push_back(Node{std::move(key), std::move(text), false});
        changed();
    }
    void clear() {
        if (nodes_.empty())
            return;
        nodes_.clear();
        changed();
    }
    void setChecked(int index, bool on) { assign(nodes_.at(index).checked, on); }
    void setAllChecked(bool on) {
        bool any = false;
        for (auto& node : nodes_)
            any |= std::exchange(node.checked, on) != on;
        if (any)
            changed();
    }
    int findKey(const std::string& key) const {
        for (int i = 0; i < count(); ++i)
            if (nodes_[i].key == key)
                return i;
        return -1;
    }

  private:
    std::vector<Node> nodes_;
};

// A multi-column list: each line is kept whole as added and shown split at the column separator.
class ColumnList : public Control {
  public:
    explicit ColumnList(std::vector<std::string> headers = {}, char separator = '|')
        : headers_(std::move(headers)), separator_(separator) {}

    const std::vector<std::string>& headers() const { return headers_; }
    char separator() const { return separator_; }
    const std::vector<std::string>& lines() const { return lines_; }
    int count() const { return static_cast<int>(lines_.size()); }
    // Lines counted from 0.
    const std::string& line(int index) const { return lines_.at(index); }
    void addLine(std::string line) {
        lines_.push_back(std::move(line));
        changed();
    }
    void clear() {
        if (lines_.empty())
            return;
        lines_.clear();
        index_ = -1;
        changed();
    }
    void setLines(std::vector<std::string> lines) {
        index_ = -1;
        assign(lines_, std::move(lines));
    }
    // Replaces one line; the chosen line stays chosen.
    void setLine(int index, std::string line) { assign(lines_.at(index), std::move(line)); }
    // Takes one line out; a line chosen after it stays chosen, the line itself is no longer.
    void removeLine(int index) {
        lines_.erase(lines_.begin() + index);
        index_ = index_ == index ? -1 : index_ - (index_ > index ? 1 : 0);
        changed();
    }
    // The chosen line, -1 when none is.
    int listIndex() const { return index_; }
    void setListIndex(int index) { assign(index_, (index >= 0 && index < count()) ? index : -1); }

  private:
    std::vector<std::string> headers_;
    char separator_;
    std::vector<std::string> lines_;
    int index_ = -1;
};

// A table of rows that the logic fills, each row a key and its cells; the logic also says which rows are
// shown (a search hides the others) and which row is chosen. The view shows it through a model, without a
// widget per row, so it holds thousands of rows.
class TableList : public Control {
  public:
    struct Row {
        std::int64_t key = 0;
        std::vector<std::string> cells;
        bool operator==(const Row&) const = default;
    };

    explicit TableList(std::vector<std::string> headers = {}) : headers_(std::move(headers)) {}

    const std::vector<std::string>& headers() const { return headers_; }
    const std::vector<Row>& rows() const { return rows_; }
    // The indices of the rows shown, in their order.
    const std::vector<int>& shown() const { return shown_; }
    // Counts every replacement of the rows or of the rows shown, so that a view knows to read them again.
    std::uint64_t revision() const { return revision_; }
    // Replaces the rows; all of them are shown. The chosen key stays.
    void setRows(std::vector<Row> rows) {
        rows_ = std::move(rows);
        shown_.resize(rows_.size());
        for (std::size_t i = 0; i < shown_.size(); ++i)
            shown_[i] = static_cast<int>(i);
        ++revision_;
        changed();
    }
    void setShown(std::vector<int> indices) {
        if (indices == shown_)
            return;
        shown_ = std::move(indices);
        ++revision_;
        changed();
    }
    // The key of the chosen row; nothing when none is.
    const std::optional<std::int64_t>& chosen() const { return chosen_; }
    void setChosen(std::optional<std::int64_t> key) { assign(chosen_, key); }

  private:
    std::vector<std::string> headers_;
    std::vector<Row> rows_;
    std::vector<int> shown_;
    std::uint64_t revision_ = 0;
    std::optional<std::int64_t> chosen_;
};

class ProgressBar : public Control {
  public:
    int value() const { return value_; }
    void setValue(int value) { assign(value_, value); }

  private:
    int value_ = 0;
};

class StatusBar : public Control {
  public:
    struct Panel {
        std::string text;
        std::string tip;
        bool operator==(const Panel&) const = default;
    };

    explicit StatusBar(int panels = 1) : panels_(panels) {}
    const std::vector<Panel>& panels() const { return panels_; }
    // Panels are counted from 1, as the program names them.
    const Panel& panel(int number) const { return panels_.at(number - 1); }
    void setPanelText(int number, std::string text) { assign(panels_.at(number - 1).text, std::move(text)); }
    void setPanelTip(int number, std::string tip) { assign(panels_.at(number - 1).tip, std::move(tip)); }

  private:
    std::vector<Panel> panels_;
};

// A top-level window: caption, visibility and placement in screen pixels.
class Window : public Control {
  public:
    struct Geometry {
        int left = 0, top = 0, width = 0, height = 0;
        bool operator==(const Geometry&) const = default;
    };
    const Geometry& geometry() const { return geometry_; }
    void setGeometry(Geometry geometry) { assign(geometry_, geometry); }

  private:
    Geometry geometry_;
};

}  // namespace pnl
