#include "gdip/image_streams.h"

#include <map>
#include <mutex>

#include "gdip/gdip_api.h"

namespace {

struct StreamTable {
    std::mutex lock;
    std::map<Gdiplus::GpImage*, std::shared_ptr<MemoryStream>> byImage;
};

StreamTable& Streams() {
    static StreamTable* table = new StreamTable;  // outlives static destruction
    return *table;
}

}  // namespace

void KeepStreamForImage(Gdiplus::GpImage* image, std::shared_ptr<MemoryStream> stream) {
    if (!image || !stream) return;
    StreamTable& table = Streams();
    std::lock_guard<std::mutex> guard(table.lock);
    table.byImage[image] = std::move(stream);
}

Gdiplus::GpStatus DisposeImageAndStream(Gdiplus::GpImage* image) {
    Gdiplus::GpStatus status = pGdipDisposeImage(image);
    std::shared_ptr<MemoryStream> released;
    {
        StreamTable& table = Streams();
        std::lock_guard<std::mutex> guard(table.lock);
        auto found = table.byImage.find(image);
        if (found == table.byImage.end()) return status;
        released = std::move(found->second);
        table.byImage.erase(found);
    }
    return status;  // the stream goes (outside the lock) if nothing else holds it
}
