#include "model/ElementStore.h"

#include <QtTest>
#include <cstdlib>
#include <new>

namespace {
// The next operator new fails when armed.
bool g_failNext = false;
} // namespace

void *operator new(std::size_t size)
{
    if (g_failNext) {
        g_failNext = false;
        throw std::bad_alloc();
    }
    if (void *p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void *p) noexcept { std::free(p); }
void operator delete(void *p, std::size_t) noexcept { std::free(p); }

namespace {
struct Item {
    explicit Item(int v) : Value(v) {}
    int Value;
    char Payload[52] = {};
};
} // namespace

class TestElementStore : public QObject {
    Q_OBJECT
private slots:
    // Elements keep their places while the store grows block by block and while others come
    // and go; a block that cannot be had leaves the store as it was.
    void addressesStayAndSlotsReturn();
};

void TestElementStore::addressesStayAndSlotsReturn()
{
    TElementStore<Item> store;
    QList<Item *> items;
    items.reserve(20000);
    // The first block holds 32 elements; the 33rd needs the next one.
    for (int i = 0; i < 32; ++i)
        items.append(store.Create(i));
    g_failNext = true;
    QVERIFY_THROWS_EXCEPTION(std::bad_alloc, store.Create(-1));
    while (items.size() < 20000)
        items.append(store.Create(int(items.size())));

    // Two slots freed go to the next two elements, the third gets a slot of its own.
    Item *const freed[] = {items[5], items[9]};
    store.Destroy(freed[0]);
    store.Destroy(freed[1]);
    Item *const again[] = {store.Create(-5), store.Create(-9), store.Create(20000)};
    QCOMPARE((QSet<Item *>{again[0], again[1]}), (QSet<Item *>{freed[0], freed[1]}));
    QVERIFY(!items.contains(again[2]));
    items[5] = again[0];
    items[9] = again[1];
    items.append(again[2]);

    for (int i = 0; i < items.size(); ++i)
        QCOMPARE(items[i]->Value, i == 5 ? -5 : i == 9 ? -9 : i);
    for (Item *e : items)
        store.Destroy(e);
}

QTEST_GUILESS_MAIN(TestElementStore)
#include "tst_ElementStore.moc"
