// The statistics lines, rewritten after every try.
#include "training/GameState.h"
#include "training/TrainingPage.h"

// Counts one try and rewrites the lines that it changed: the counter's, the tries and
// the rate. The caller shows them with UpdateData. rateFormat is "%.2f" after an answer
// given with Enter and "%f" after a miss at the bottom.
void CTrainingPage::CountTry(bool bHit, const wchar_t* rateFormat)
{
    ++g_nTotal;
    if (bHit)
        ++g_nHits;
    else
        ++g_nMisses;
    g_fHitRate = static_cast<float>(static_cast<double>(g_nHits) / g_nTotal);

    CString value;
    if (bHit) {
        value.Format(L"%d", g_nHits);
        m_strHits = CString(L"正确次数:      ") + value;
    } else {
        value.Format(L"%d", g_nMisses);
        m_strMisses = CString(L"失败次数:      ") + value;
    }
    value.Format(L"%d", g_nTotal);
    m_strTotal = CString(L"总计次数:      ") + value;
    value.Format(rateFormat, static_cast<double>(g_fHitRate));
    m_strRate = CString(L"正确率:        ") + value;
}
