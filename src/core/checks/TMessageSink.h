#pragma once
// Where the checks write their findings. The document window's message list implements it in
// the GUI; the command-line tool streams the lines to stdout; TMessageList keeps them in memory.
// Core writes lines only through this interface and never knows how they are shown.
#include "checks/TErrorInfo.h"

#include <QString>
#include <QStringList>
#include <algorithm>
#include <climits>
#include <optional>
#include <vector>

class TMessageSink {
public:
    virtual ~TMessageSink() = default;
    // Drops every line with its reference.
    virtual void ClearMessages() = 0;
    virtual void AddMessage(const QString &text, std::optional<TErrorInfo> info = std::nullopt) = 0;
    // Saturates at INT_MAX: the checks only ask whether the list is empty.
    virtual int MessageCount() const = 0;
    // After the deletions of empty rows the first line becomes the selected one; only a list
    // on screen has a selection.
    virtual void SelectFirstMessage() {}
};

struct TMessageLine {
    QString Text;
    std::optional<TErrorInfo> Info;

    friend bool operator==(const TMessageLine &, const TMessageLine &) = default;
};

class TMessageList : public TMessageSink {
public:
    void ClearMessages() override { FLines.clear(); }
    void AddMessage(const QString &text, std::optional<TErrorInfo> info = std::nullopt) override
    {
        FLines.push_back({text, info});
    }
    int MessageCount() const override { return int(std::min<size_t>(FLines.size(), INT_MAX)); }

    const std::vector<TMessageLine> &Lines() const { return FLines; }
    const TMessageLine &Line(int i) const { return FLines.at(size_t(i)); }
    QStringList Texts() const
    {
        QStringList texts;
        texts.reserve(qsizetype(FLines.size()));
        for (const TMessageLine &line : FLines)
            texts.append(line.Text);
        return texts;
    }

private:
    std::vector<TMessageLine> FLines;
};
