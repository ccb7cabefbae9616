#include "receivables/itemStore.h"

#include "frame/hostServices.h"

InvoiceItem* items;
std::int16_t itemCount;
std::int16_t itemCapacity;

void resetItems() {
    itemCount = 0;
    itemCapacity = 0;
}

bool makeRoomForItem() {
    if (itemCount < itemCapacity) return items != nullptr;
    if (itemCapacity > itemCapacityLimit - itemGrowth) return false;  // no 32,701st record
    itemCapacity = static_cast<std::int16_t>(itemCapacity + itemGrowth);
    void* grown = memRealloc(items, static_cast<std::uint32_t>(itemCapacity) * sizeof(InvoiceItem));
    if (!grown) {
        // The host's realloc leaves the old block alone on failure; release it
        // here so that nothing leaks, since the store forgets it now.
        if (items) memFree(items);
    }
    items = static_cast<InvoiceItem*>(grown);
    return items != nullptr;
}

void releaseItems() {
    if (items) {
        memFree(items);
        items = nullptr;
    }
}
