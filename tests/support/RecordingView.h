#pragma once

#include "history/HistoryStore.h"
#include "session/MainView.h"

#include <QImage>
#include <QList>
#include <QPair>

#include <optional>

// The main window as the session sees it, without a window: it keeps what the session told it and answers
// where the window is with plain fields.
class RecordingView : public MainView
{
public:
    bool shown = true;
    bool covered = false;
    QList<QImage> displayed;
    QList<QPair<QString, StatusKind>> statuses;
    int compositions = 0;
    QList<qint64> missed;
    std::optional<bool> listEnded;

    void showConnectionState(ConnectionState) override { }
    void showStatus(const QString& text, StatusKind kind) override { statuses.append({ text, kind }); }
    void areaCodesChanged() override { }
    void setOnlineHelpEnabled(bool) override { }
    void displayBanner(const QImage& picture) override { displayed << picture; }
    bool windowShown() const override { return shown; }
    bool bannerCovered() const override { return covered; }
    void minimiseIfCovered() override { }
    void openPreferencesForSend() override { }
    void beginList(const QStringList&) override { }
    void endList(bool cancelled) override { listEnded = cancelled; }
    void compositionChanged() override { ++compositions; }
    void showMissedSends(const QList<HistoryEntry>& entries) override
    {
        for (const HistoryEntry& entry : entries)
            missed << entry.id;
    }
};
