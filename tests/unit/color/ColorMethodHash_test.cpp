#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "color/QorvelMethodHashes.h"

namespace {

using TIntMethod = TQorvelMethod<int>;

class TProbedMethodHash : public TQorvelMethodHash<TIntMethod> {
 public:
  using TQorvelMethodHash<TIntMethod>::TQorvelMethodHash;
  using TQorvelMethodHash<TIntMethod>::SlotOf;
};

struct TRecorder {
  std::vector<std::string>* Log;
  std::string Name;
  void First(int value) { Log->push_back(Name + ".First(" + std::to_string(value) + ")"); }
  void Second(int value) { Log->push_back(Name + ".Second(" + std::to_string(value) + ")"); }
};

void NoOp(void*, int) {}
void OtherNoOp(void*, int) {}

// A method whose data pointer is a plain number: never called, only hashed and compared.
TIntMethod FakeMethod(std::uintptr_t data) { return TIntMethod(&NoOp, reinterpret_cast<void*>(data)); }

// The data value that puts FakeMethod(data) in `slot` of a table of `size` slots.
std::uintptr_t DataForSlot(std::uint32_t slot, int size) {
  const std::uint32_t base = QorvelMethodHashOf(reinterpret_cast<std::uintptr_t>(&NoOp), 0, size);
  return (slot + static_cast<std::uint32_t>(size) - base) % static_cast<std::uint32_t>(size);
}

TEST(MethodHashFunction, MultipliesTheCodeAndAddsTheDataIn32Bits) {
  EXPECT_EQ(QorvelMethodHashOf(3, 5, 23), 4u);  // 4993580 mod 23
  // 0x80000000 * 1664525 wraps to 0x80000000; a 64-bit product would give another slot.
  EXPECT_EQ(QorvelMethodHashOf(0x80000000u, 7, 23), 13u);
  EXPECT_EQ(QorvelMethodHashOf(0x12345678u, 0x9ABCDEF0u, 211), 143u);
}

TEST(MethodIdentity, NeedsTheSameCodeAndTheSameObject) {
  std::vector<std::string> log;
  TRecorder a{&log, "a"}, b{&log, "b"};
  EXPECT_EQ((TIntMethod::Of<&TRecorder::First>(&a)), (TIntMethod::Of<&TRecorder::First>(&a)));
  EXPECT_FALSE((TIntMethod::Of<&TRecorder::First>(&a)) == (TIntMethod::Of<&TRecorder::First>(&b)));
  EXPECT_FALSE((TIntMethod::Of<&TRecorder::First>(&a)) == (TIntMethod::Of<&TRecorder::Second>(&a)));
  EXPECT_FALSE(TIntMethod(&NoOp, nullptr) == TIntMethod(&OtherNoOp, nullptr));

  TIntMethod::Of<&TRecorder::Second> (&b)(7);
  TIntMethod{}(8);  // an empty method calls nothing
  EXPECT_EQ(log, std::vector<std::string>{"b.Second(7)"});
}

TEST(MethodHashAdd, IgnoresDuplicatesAndEmptyMethods) {
  std::vector<std::string> log;
  TRecorder a{&log, "a"};
  TQorvelMethodHash<TIntMethod> hash(100);
  EXPECT_EQ(hash.TableSize(), 211);
  EXPECT_TRUE(hash.Add(TIntMethod::Of<&TRecorder::First>(&a)));
  EXPECT_FALSE(hash.Add(TIntMethod::Of<&TRecorder::First>(&a)));
  EXPECT_TRUE(hash.Add(TIntMethod::Of<&TRecorder::Second>(&a)));
  EXPECT_FALSE(hash.Add(TIntMethod{}));
  EXPECT_EQ(hash.Count(), 2);
  EXPECT_TRUE(hash.Contains(TIntMethod::Of<&TRecorder::Second>(&a)));
  EXPECT_FALSE(hash.Remove(FakeMethod(12345)));
  EXPECT_EQ(hash.Count(), 2);
}

TEST(MethodHashProbing, CollidingMethodsTakeQuadraticOffsetsAndDeletedSlotsKeepThemReachable) {
  TProbedMethodHash hash(10);
  ASSERT_EQ(hash.TableSize(), 23);
  const std::uintptr_t home = DataForSlot(5, 23);
  const TIntMethod first = FakeMethod(home), second = FakeMethod(home + 23), third = FakeMethod(home + 46);
  hash.Add(first);
  hash.Add(second);
  hash.Add(third);
  EXPECT_EQ(hash.SlotOf(first), 5);
  EXPECT_EQ(hash.SlotOf(second), 6);
  EXPECT_EQ(hash.SlotOf(third), 9);

  ASSERT_TRUE(hash.Remove(second));
  EXPECT_TRUE(hash.Contains(third)) << "a deleted slot must not end the probe";
  const TIntMethod fourth = FakeMethod(home + 69);
  hash.Add(fourth);
  EXPECT_EQ(hash.SlotOf(fourth), 6) << "the deleted slot is reused";
}

TEST(MethodHashOrder, RemovingMovesTheLastMethodIntoThePlace) {
  TQorvelMethodHash<TIntMethod> hash;
  for (std::uintptr_t data = 1; data <= 4; ++data) hash.Add(FakeMethod(data));
  hash.Remove(FakeMethod(2));
  EXPECT_EQ(hash.Snapshot(), (std::vector<TIntMethod>{FakeMethod(1), FakeMethod(4), FakeMethod(3)}));
  EXPECT_EQ(hash.At(1), FakeMethod(4));
  EXPECT_FALSE(hash.At(3));
  EXPECT_FALSE(hash.At(-1));
}

TEST(MethodHashGrowth, KeepsEveryMethodAndTheOrder) {
  TQorvelMethodHash<TIntMethod> hash(10);
  std::vector<TIntMethod> added;
  for (std::uintptr_t data = 0; data < 45; ++data) {
    added.push_back(FakeMethod(data * 23));  // all of them share one home in the first table
    ASSERT_TRUE(hash.Add(added.back()));
  }
  EXPECT_EQ(hash.Count(), 45);
  EXPECT_GE(hash.Capacity(), 45);
  EXPECT_GT(hash.TableSize(), 2 * 45 - 1);
  EXPECT_EQ(hash.Snapshot(), added);
  for (const TIntMethod& method : added) EXPECT_TRUE(hash.Contains(method));
}

TEST(MethodHashSnapshot, CallsEveryHandlerInOrder) {
  std::vector<std::string> log;
  TRecorder a{&log, "a"}, b{&log, "b"};
  TQorvelMethodHash<TIntMethod> hash;
  hash.Add(TIntMethod::Of<&TRecorder::Second>(&b));
  hash.Add(TIntMethod::Of<&TRecorder::First>(&a));
  for (const TIntMethod& method : hash.Snapshot()) method(3);
  EXPECT_EQ(log, (std::vector<std::string>{"b.Second(3)", "a.First(3)"}));
}

}  // namespace
