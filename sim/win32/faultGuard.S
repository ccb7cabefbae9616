/* guardedInvoke(thunk, context, fault): calls thunk(context) with an exception
   registration of our own on the fs:0 chain. The registration record is
   {previous, handler, frame's ebp, fault record}; guardHandler finds the last
   two through the establisher frame. After an exception guardUnwindTo
   continues at guardResume with esp at the registration and eax = 1, the x87
   unit emptied and its control word as it was before the call: the host goes
   on computing after a fault with the precision it had. */
    .cfi_sections .debug_frame
    .text
    .p2align 4
    .globl _guardedInvoke
_guardedInvoke:
    .cfi_startproc
    pushl %ebp
    .cfi_adjust_cfa_offset 4
    movl %esp, %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    subl $4, %esp
    fnstcw (%esp)               /* -16(%ebp): the x87 control word */
    pushl 16(%ebp)              /* fault record */
    pushl %ebp                  /* this frame's ebp */
    pushl $_guardHandler
    pushl %fs:0
    movl %esp, %fs:0
    pushl 12(%ebp)
    call *8(%ebp)
    xorl %eax, %eax
guardResume:
    movl -32(%ebp), %ecx        /* unlink the registration */
    movl %ecx, %fs:0
    leal -12(%ebp), %esp
    popl %edi
    popl %esi
    popl %ebx
    popl %ebp
    .cfi_adjust_cfa_offset -4
    ret
    .cfi_endproc

/* guardUnwindTo(registration): never returns. */
    .globl _guardUnwindTo
_guardUnwindTo:
    movl 4(%esp), %eax
    movl 8(%eax), %ebp
    movl %eax, %esp
    cld
    fninit
    fldcw -16(%ebp)
    movl $1, %eax
    jmp guardResume
