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
    if (itemCount < itemCapacity || itemCapacity > itemCapacityLimit - itemGrowth) return items != nullptr;
    itemCapacity = static_cast<std::int16_t>(itemCapacity + itemGrowth);
    void* grown = memRealloc(items, static_cast<std::uint32_t>(itemCapacity) * sizeof(InvoiceItem));
    if (!grown && items) memFree(items);
    items = static_cast<InvoiceItem*>(grown);
    return items != nullptr;
}

InvoiceItem* nextFreeItem() {
    if (!items || itemCount >= itemCapacity) return nullptr;
    return items + itemCount;
}

void releaseItems() {
    if (items) {
        memFree(items);
        items = nullptr;
    }
}
