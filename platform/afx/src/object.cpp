// Run-time classes: CObject, CRuntimeClass and the registry behind FromName.
#include <afxwin.h>

#include <cstring>
#include <vector>

namespace {

std::vector<CRuntimeClass*>& ClassRegistry()
{
    static std::vector<CRuntimeClass*> classes;
    return classes;
}

}  // namespace

const CRuntimeClass CObject::classCObject = {"CObject", sizeof(CObject), 0xFFFF, nullptr, nullptr};

CRuntimeClass* CObject::GetRuntimeClass() const
{
    return RUNTIME_CLASS(CObject);
}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

CObject* CRuntimeClass::CreateObject()
{
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    for (const CRuntimeClass* p = this; p; p = p->m_pBaseClass)
        if (p == pBaseClass)
            return TRUE;
    return FALSE;
}

CRuntimeClass* CRuntimeClass::FromName(LPCSTR lpszClassName)
{
    if (!lpszClassName)
        return nullptr;
    for (CRuntimeClass* p : ClassRegistry())
        if (std::strcmp(p->m_lpszClassName, lpszClassName) == 0)
            return p;
    return nullptr;
}

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* pNewClass)
{
    ClassRegistry().push_back(pNewClass);
}
