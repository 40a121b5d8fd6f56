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

    Item *freed = items.takeAt(5);
    store.Destroy(freed);
    QCOMPARE(store.Create(-5), freed);
    items.insert(5, freed);

    for (int i = 0; i < items.size(); ++i)
        QCOMPARE(items[i]->Value, i == 5 ? -5 : i);
    for (Item *e : items)
        store.Destroy(e);
}

QTEST_GUILESS_MAIN(TestElementStore)
#include "tst_ElementStore.moc"
