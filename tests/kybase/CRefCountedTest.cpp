// Reference counting: self-assignment, last release, objects no pointer holds.
#include <gtest/gtest.h>

#include "kybase/CRefCounted.h"

namespace {

template <class TModel>
class Probe : public CRefCountedT<TModel> {
 public:
  explicit Probe(int* deleted) : m_deleted(deleted) {}
  ~Probe() override { ++*m_deleted; }

 private:
  int* m_deleted;
};

template <class TModel>
class RefCounting : public testing::Test {};

using Models = testing::Types<SingleThreadedModel, FreeThreadedModel>;
TYPED_TEST_SUITE(RefCounting, Models);

TYPED_TEST(RefCounting, LastReleaseDeletes) {
  int deleted = 0;
  {
    CRefCountPtr<Probe<TypeParam>> first(new Probe<TypeParam>(&deleted));
    CRefCountPtr<Probe<TypeParam>> second(first);
    first = nullptr;
    EXPECT_EQ(0, deleted);
    EXPECT_TRUE(first.IsNull());
  }
  EXPECT_EQ(1, deleted);
}

TYPED_TEST(RefCounting, SelfAssignmentKeepsObjectAlive) {
  int deleted = 0;
  CRefCountPtr<Probe<TypeParam>> pointer(new Probe<TypeParam>(&deleted));
  pointer = *&pointer;  // through a reference, as a real alias would
  pointer.Assign(pointer.Get());
  EXPECT_EQ(0, deleted);
  EXPECT_EQ(2, pointer->AddRef());
  pointer->Release();
}

TYPED_TEST(RefCounting, CopyStartsWithoutHolders) {
  int deleted = 0;
  CRefCountPtr<Probe<TypeParam>> original(new Probe<TypeParam>(&deleted));
  {
    CRefCountPtr<Probe<TypeParam>> copy(new Probe<TypeParam>(*original));
    EXPECT_EQ(2, copy->AddRef()) << "a copy must not inherit the original's holders";
    copy->Release();
  }
  EXPECT_EQ(1, deleted);
  EXPECT_FALSE(original.IsNull());
}

}  // namespace
