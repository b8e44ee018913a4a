#include "workspace/WindowLayout.h"

#include <algorithm>
#include <sys/stat.h>

namespace orvo {

std::vector<SavedWindow> ReadSavedWindows(const QTable& table) {
    std::vector<SavedWindow> windows;
    for (int i = 0; i < table.GetRecordCount(); ++i) {
        SavedWindow w;
        w.path = table.GetText("Path", i);
        w.x1 = table.GetValue("x1", i).AsInt();
        w.y1 = table.GetValue("y1", i).AsInt();
        w.x2 = table.GetValue("x2", i).AsInt();
        w.y2 = table.GetValue("y2", i).AsInt();
        w.maximized = table.GetText("IsMaximized", i) == "TRUE";
        w.selectedPath = table.GetText("Selected path", i);
        windows.push_back(std::move(w));
    }
    return windows;
}

void WriteSavedWindows(QTable& table, const std::vector<SavedWindow>& windows) {
    table.RemoveAll();
    for (const SavedWindow& w : windows) {
        if (w.path.empty())
            continue;
        QRecord row = table.NewRecord();
        row.SetText("Path", w.path);
        row.SetValue("x1", QValue(int32_t{w.x1}, QVT_INT));
        row.SetValue("y1", QValue(int32_t{w.y1}, QVT_INT));
        row.SetValue("x2", QValue(int32_t{w.x2}, QVT_INT));
        row.SetValue("y2", QValue(int32_t{w.y2}, QVT_INT));
        row.SetValue("IsMaximized", QValue(w.maximized, QVT_BOOL));
        if (!w.selectedPath.empty())
            row.SetText("Selected path", w.selectedPath);
        table.AddRecord(row);
    }
}

std::vector<SavedWindow> WindowsToRestore(const std::vector<SavedWindow>& saved) {
    std::vector<SavedWindow> order;
    for (auto it = saved.rbegin(); it != saved.rend(); ++it) {
        struct stat st{};
        if (!it->path.empty() && ::stat(it->path.c_str(), &st) == 0)
            order.push_back(*it);
    }
    return order;
}

} // namespace orvo
