// Makes one real, open recordset fail as a dictionary that breaks under the
// program would: its MoveFirst reports an error with a description (through
// IErrorInfo), while every other call keeps working. Nothing in the data this
// program reads can make the in-memory recordset fail, so the fault is injected.
#pragma once

#include <ado.h>

#include <vector>

// The description the failing call reports.
extern const wchar_t kInjectedFailure[];

class FailingMoveFirst {
public:
    explicit FailingMoveFirst(const _RecordsetPtr& rs);
    ~FailingMoveFirst();  // the recordset works again
    FailingMoveFirst(const FailingMoveFirst&) = delete;
    FailingMoveFirst& operator=(const FailingMoveFirst&) = delete;

    int Calls() const;

private:
    _RecordsetPtr m_rs;
    void** m_original = nullptr;
    std::vector<void*> m_patched;
};
