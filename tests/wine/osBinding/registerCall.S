/* Calls a routine with every general register set to a known pattern and
   records what the registers, the stack pointer and the x87 status hold
   afterwards.

   Register contract: callPatterned(RegisterCall*) is cdecl and keeps EBX,
   ESI, EDI and EBP for its own caller. Inside, it pushes the call's argument
   cells (last first), loads the patterns, calls the target, then saves every
   register and ESP into the record before it puts its own stack back, so a
   target that removes the wrong number of bytes is measured, not fatal.

   RegisterCall layout (tests/wine/osBinding/registerCall.h):
     0 target   4 count   8 args[14]   64 popDouble
    68 eax  72 ebx  76 ecx  80 edx  84 esi  88 edi  92 ebp
    96 espBefore  100 espAfter  104 fpuBefore(16)  106 fpuAfter(16)
   108 resultDouble(64) */
    .cfi_sections .debug_frame
    .data
    .p2align 2
callRecord: .long 0
callStack:  .long 0

    .text
    .globl _callPatterned
_callPatterned:
    .cfi_startproc
    pushl %ebp
    .cfi_adjust_cfa_offset 4
    pushl %ebx
    .cfi_adjust_cfa_offset 4
    pushl %esi
    .cfi_adjust_cfa_offset 4
    pushl %edi
    .cfi_adjust_cfa_offset 4
    movl 20(%esp), %eax
    movl %eax, callRecord
    movl %esp, callStack
    movl 4(%eax), %ecx
1:  testl %ecx, %ecx
    jz 2f
    pushl 4(%eax,%ecx,4)            /* args[ecx - 1] */
    decl %ecx
    jmp 1b
2:  fnstsw 104(%eax)
    movl %esp, 96(%eax)
    movl $0xB0B0B0B0, %ebx
    movl $0xC1C1C1C1, %ecx
    movl $0xD2D2D2D2, %edx
    movl $0x51515151, %esi
    movl $0xD1D1D1D1, %edi
    movl $0xBEBEBEBE, %ebp
    movl (%eax), %eax
    call *%eax
    pushl %eax
    movl callRecord, %eax
    popl 68(%eax)
    movl %ebx, 72(%eax)
    movl %ecx, 76(%eax)
    movl %edx, 80(%eax)
    movl %esi, 84(%eax)
    movl %edi, 88(%eax)
    movl %ebp, 92(%eax)
    movl %esp, 100(%eax)
    cmpl $0, 64(%eax)
    jz 3f
    fstpl 108(%eax)
3:  fnstsw 106(%eax)
    movl callStack, %esp
    popl %edi
    .cfi_adjust_cfa_offset -4
    popl %esi
    .cfi_adjust_cfa_offset -4
    popl %ebx
    .cfi_adjust_cfa_offset -4
    popl %ebp
    .cfi_adjust_cfa_offset -4
    ret
    .cfi_endproc

/* DWORD runCatching(void (*routine)(void*), void* argument): calls the routine
   and returns 0, or the code of an exception raised inside it, caught by the
   vectored handler in support.cpp, which resumes at catchResume with EAX
   holding the code. Keeps EBX, ESI, EDI, EBP. */
    .data
    .p2align 2
    .globl _catchStack
_catchStack: .long 0
    .text
    .globl _runCatching
_runCatching:
    .cfi_startproc
    pushl %ebp
    .cfi_adjust_cfa_offset 4
    pushl %ebx
    .cfi_adjust_cfa_offset 4
    pushl %esi
    .cfi_adjust_cfa_offset 4
    pushl %edi
    .cfi_adjust_cfa_offset 4
    pushl %fs:0                       /* the SEH chain as it is now */
    .cfi_adjust_cfa_offset 4
    pushl _catchStack                 /* nesting */
    .cfi_adjust_cfa_offset 4
    movl %esp, _catchStack
    pushl 32(%esp)                    /* argument */
    .cfi_adjust_cfa_offset 4
    call *32(%esp)                    /* routine */
    addl $4, %esp
    .cfi_adjust_cfa_offset -4
    xorl %eax, %eax
    .globl _catchResume
_catchResume:
    movl _catchStack, %esp
    popl _catchStack
    .cfi_adjust_cfa_offset -4
    popl %fs:0
    .cfi_adjust_cfa_offset -4
    popl %edi
    .cfi_adjust_cfa_offset -4
    popl %esi
    .cfi_adjust_cfa_offset -4
    popl %ebx
    .cfi_adjust_cfa_offset -4
    popl %ebp
    .cfi_adjust_cfa_offset -4
    ret
    .cfi_endproc
